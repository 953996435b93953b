#include "HtmlSiteAssets.h"

#include "HtmlSiteText.h"

namespace ts::publish {

namespace {

const char StyleRules[] = R"css(html, body { margin: 0; padding: 0; }
body { font-family: Arial, "Liberation Sans", Helvetica, sans-serif; font-size: 10pt; color: #000; background: #fff; }
.vh { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0); white-space: nowrap; }
.top { position: sticky; top: 0; z-index: 2; border-bottom: 1px solid #999; }
.framed .bar { display: none; }
.bar { display: flex; flex-wrap: wrap; align-items: center; gap: 4px; padding: 3px 6px; background: #e8e8e8; border-bottom: 1px solid #bbb; font-size: 9pt; }
.bar nav { display: flex; gap: 4px; }
.bar a, .bar button { display: inline-block; padding: 2px 8px; border: 1px solid #999; border-radius: 2px; background: #f8f8f8; color: #000; text-decoration: none; font: inherit; cursor: pointer; }
.bar a[aria-disabled="true"] { color: #888; cursor: default; }
.bar form { margin-left: auto; display: flex; gap: 2px; }
.bar input { font: inherit; width: 12em; }
.caption { margin: 0; padding: 4px 8px; font-size: 11pt; background: #000080; color: #fff; }
.nonscroll, .scroll { padding: 4px 8px; }
.scroll { padding-bottom: 2em; }
.r p, .popup-box p { margin: 0; white-space: pre-wrap; overflow-wrap: break-word; }
.r table { border-collapse: collapse; }
.r td { vertical-align: top; padding: 0; }
a.jump, a.popup, a.macro { color: #008000; cursor: pointer; }
a.jump, a.macro { text-decoration: underline solid; }
a.popup { text-decoration: underline dotted; }
a.jump span, a.popup span, a.macro span { color: inherit; }
a.plain { color: inherit; text-decoration: inherit; }
a.plain span { color: revert; }
.inert, .broken { cursor: not-allowed; }
.broken { text-decoration: underline wavy #c00; }
img.left { float: left; margin: 0 6px 2px 0; }
img.right { float: right; margin: 0 0 2px 6px; }
img { border: 0; }
.missing { border: 1px dashed #999; padding: 0 4px; color: #666; }
button.macro { font: inherit; vertical-align: middle; }
button.macro:empty { width: 1.6em; height: 1em; padding: 0; }
button.macro[aria-disabled="true"] { color: #777; }
.popup-box { position: absolute; z-index: 10; max-width: 40em; padding: 6px 8px; border: 1px solid #333; box-shadow: 2px 3px 6px rgba(0,0,0,.35); background: #ffffe0; }
.popup-box[hidden] { display: none; }
.popup-box:focus { outline: 2px solid #36c; }
.contents-page { display: flex; flex-direction: column; height: 100vh; }
.split { display: flex; flex: 1; min-height: 0; }
.tree { width: 18em; min-width: 10em; overflow: auto; padding: 6px; border-right: 1px solid #999; resize: horizontal; }
.tree h2 { font-size: 10pt; margin: 0 0 4px; }
.tree ul { list-style: none; margin: 0; padding-left: 1.1em; }
.tree > ul { padding-left: 0; }
.tree li { margin: 1px 0; }
.tree summary { cursor: pointer; }
.tree a { color: #000; text-decoration: none; }
.tree a:hover, .tree a:focus, .tree summary:focus { text-decoration: underline; }
.split main { flex: 1; display: flex; }
.split iframe { flex: 1; border: 0; width: 100%; height: 100%; }
.list { padding: 8px 16px; }
.list ul { margin: 2px 0 2px 0; }
.list li { margin: 2px 0; }
.results p { margin: 4px 0; }
)css";

const char ScriptText[] = R"js((function () {
  "use strict";
  var data = null, waiting = [];
  function loadData(done) {
    if (data) { done(data); return; }
    waiting.push(done);
    if (waiting.length > 1) return;
    var s = document.createElement("script");
    s.src = "search-index.js";
    s.onload = function () { data = window.TS_SITE; var w = waiting; waiting = []; for (var i = 0; i < w.length; i++) w[i](data); };
    document.head.appendChild(s);
  }
  function closest(el, attr) {
    while (el && el.nodeType === 1) { if (el.hasAttribute(attr)) return el; el = el.parentNode; }
    return null;
  }
  var openPopup = null, opener = null;
  function closePopup() {
    if (!openPopup) return;
    openPopup.hidden = true;
    if (openPopup.getAttribute("data-made")) openPopup.parentNode.removeChild(openPopup);
    openPopup = null;
    if (opener && opener.focus) opener.focus();
    opener = null;
  }
  function showPopup(box, from) {
    closePopup();
    opener = from;
    box.hidden = false;
    var r = from.getBoundingClientRect();
    var sx = window.pageXOffset || 0, sy = window.pageYOffset || 0;
    var width = Math.min(Math.max(document.documentElement.clientWidth / 2, 200), document.documentElement.clientWidth - 16);
    box.style.maxWidth = width + "px";
    var left = r.left + r.width / 2 - box.offsetWidth / 2;
    left = Math.max(8, Math.min(left, document.documentElement.clientWidth - box.offsetWidth - 8));
    box.style.left = (left + sx) + "px";
    box.style.top = (r.bottom + sy + 2) + "px";
    box.setAttribute("tabindex", "-1");
    openPopup = box;
    box.focus();
  }
  function listPopup(from, title, items) {
    var box = document.createElement("div");
    box.className = "popup-box";
    box.setAttribute("role", "dialog");
    box.setAttribute("aria-label", title);
    box.setAttribute("data-made", "1");
    var h = document.createElement("p");
    h.appendChild(document.createTextNode(title));
    h.style.fontWeight = "bold";
    box.appendChild(h);
    for (var i = 0; i < items.length; i++) {
      var p = document.createElement("p"), a = document.createElement("a");
      a.href = items[i][0];
      a.className = "jump";
      a.appendChild(document.createTextNode(items[i][1]));
      p.appendChild(a);
      box.appendChild(p);
    }
    document.body.appendChild(box);
    showPopup(box, from);
  }
  function keywordLink(el) {
    loadData(function (d) {
      var table = d.k[el.getAttribute("data-table")] || [], wanted = el.getAttribute("data-keywords").split(";");
      var found = [], seen = {};
      for (var w = 0; w < wanted.length; w++) {
        var key = wanted[w].replace(/^\s+|\s+$/g, "").toLowerCase();
        for (var i = 0; i < table.length; i++) {
          if (table[i][0].toLowerCase() !== key) continue;
          for (var t = 0; t < table[i][1].length; t++) {
            var n = table[i][1][t];
            if (!seen["t" + n]) { seen["t" + n] = true; found.push([d.p[n], d.t[n]]); }
          }
        }
      }
      if (found.length === 1) { window.location.href = found[0][0]; return; }
      listPopup(el, found.length ? "Topics Found" : "No topics found", found);
    });
  }
  document.addEventListener("click", function (e) {
    var t = e.target;
    if (openPopup && !openPopup.contains(t)) closePopup();
    var p = closest(t, "data-popup");
    if (p) {
      var box = document.getElementById(p.getAttribute("data-popup"));
      if (box) { e.preventDefault(); if (openPopup) closePopup(); showPopup(box, p); }
      return;
    }
    var k = closest(t, "data-keywords");
    if (k) { e.preventDefault(); keywordLink(k); return; }
    var b = closest(t, "data-back");
    if (b) { e.preventDefault(); window.history.back(); }
  });
  document.addEventListener("keydown", function (e) {
    if ((e.key === "Escape" || e.keyCode === 27) && openPopup) { e.preventDefault(); closePopup(); }
  });

  // --- search: words of titles and text, each query word a word's beginning
  function topicsFor(d, word) {
    var lo = 0, hi = d.w.length, out = {};
    while (lo < hi) { var mid = (lo + hi) >> 1; if (d.w[mid] < word) lo = mid + 1; else hi = mid; }
    for (var i = lo; i < d.w.length && d.w[i].lastIndexOf(word, 0) === 0; i++) {
      var list = d.i[i].split(" "), n = 0;
      for (var j = 0; j < list.length; j++) { n += parseInt(list[j], 36); out["t" + n] = n; }
    }
    return out;
  }
  function search(d, query) {
    var words = query.toLowerCase().split(/[^0-9a-z\u00c0-\u024f\u0370-\u03ff\u0400-\u04ff]+/), hits = null;
    for (var w = 0; w < words.length; w++) {
      if (!words[w]) continue;
      var found = topicsFor(d, words[w]);
      if (hits === null) { hits = found; continue; }
      var both = {};
      for (var key in hits) if (found.hasOwnProperty(key)) both[key] = hits[key];
      hits = both;
    }
    var list = [], titled = [];
    for (var k in hits) {
      if (!hits.hasOwnProperty(k)) continue;
      var n = hits[k], inTitle = true;
      for (var x = 0; x < words.length; x++) if (words[x] && d.t[n].toLowerCase().indexOf(words[x]) < 0) inTitle = false;
      (inTitle ? titled : list).push(n);
    }
    return titled.sort(function (a, b) { return a - b; }).concat(list.sort(function (a, b) { return a - b; }));
  }
  function showResults(query) {
    var out = document.getElementById("results");
    if (!out) return;
    loadData(function (d) {
      while (out.firstChild) out.removeChild(out.firstChild);
      var found = query ? search(d, query) : [];
      var head = document.createElement("p");
      head.appendChild(document.createTextNode(!query ? "Type words to find." : found.length === 1 ? "1 topic found" : found.length + " topics found"));
      out.appendChild(head);
      var ul = document.createElement("ul");
      for (var i = 0; i < found.length && i < 500; i++) {
        var li = document.createElement("li"), a = document.createElement("a");
        a.href = d.p[found[i]];
        a.appendChild(document.createTextNode(d.t[found[i]]));
        li.appendChild(a);
        ul.appendChild(li);
      }
      out.appendChild(ul);
    });
  }
  function queryText() {
    var m = /[?&]q=([^&#]*)/.exec(window.location.search);
    try { return m ? decodeURIComponent(m[1].replace(/\+/g, " ")) : ""; } catch (err) { return ""; }
  }

  // --- the contents tree: Up/Down between visible entries, Right opens a book, Left closes it
  function treeKeys(tree) {
    tree.addEventListener("keydown", function (e) {
      var items = [], all = tree.querySelectorAll("summary, a");
      for (var i = 0; i < all.length; i++) if (all[i].offsetParent !== null || all[i].getClientRects().length) items.push(all[i]);
      var at = -1;
      for (var j = 0; j < items.length; j++) if (items[j] === document.activeElement) at = j;
      if (at < 0) return;
      var cur = items[at], book = cur.tagName === "SUMMARY" ? cur.parentNode : null;
      if (e.key === "ArrowDown" && at + 1 < items.length) items[at + 1].focus();
      else if (e.key === "ArrowUp" && at > 0) items[at - 1].focus();
      else if (e.key === "ArrowRight" && book && !book.open) book.open = true;
      else if (e.key === "ArrowLeft" && book && book.open) book.open = false;
      else if (e.key === "ArrowLeft") { var up = cur.parentNode; while (up && up !== tree && up.tagName !== "DETAILS") up = up.parentNode; if (up && up !== tree) up.firstElementChild.focus(); else return; }
      else return;
      e.preventDefault();
    });
  }
  function start() {
    // Inside the contents page's frame, that page's bar serves.
    if (window.name === "topic" && window.parent !== window) document.body.className += " framed";
    var tree = document.getElementById("tree");
    if (tree) treeKeys(tree);
    var frame = document.getElementById("topic");
    var m = /^#page=([A-Za-z0-9._-]+\.html)$/.exec(window.location.hash);
    if (frame && m) frame.src = m[1];
    if (document.getElementById("results")) {
      var q = queryText(), box = document.getElementById("q");
      if (box) {
        box.value = q;
        box.addEventListener("input", function () { showResults(box.value); });
      }
      showResults(q);
    }
  }
  if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", start); else start();
})();
)js";

QString fontFamilyFallback(HelpFont::Family family)
{
    switch (family) {
    case HelpFont::Family::Roman: return QStringLiteral("serif");
    case HelpFont::Family::Modern: return QStringLiteral("monospace");
    case HelpFont::Family::Script: return QStringLiteral("cursive");
    case HelpFont::Family::Decorative: return QStringLiteral("fantasy");
    default: return QStringLiteral("sans-serif");
    }
}

// A face name inside a CSS string: only characters that cannot end the
// string or the rule.
QString cssFaceName(const QString& face)
{
    QString out;
    for (const QChar c : face)
        if (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('_'))
            out += c;
    return out.trimmed();
}

QString fontRule(int index, const HelpFont& font)
{
    QString rule = QStringLiteral(".f%1{").arg(index);
    const QString face = cssFaceName(font.face);
    rule += QStringLiteral("font-family:%1%2;").arg(face.isEmpty() ? QString() : QLatin1Char('"') + face + QLatin1String("\","),
                                                   fontFamilyFallback(font.family));
    rule += QStringLiteral("font-size:%1pt;").arg(font.halfPoints / 2.0);
    rule += font.bold ? QLatin1String("font-weight:bold;") : QLatin1String("font-weight:normal;");
    rule += font.italic ? QLatin1String("font-style:italic;") : QLatin1String("font-style:normal;");
    QStringList lines;
    if (font.underline || font.doubleUnderline)
        lines << QStringLiteral("underline");
    if (font.strikeOut)
        lines << QStringLiteral("line-through");
    if (!lines.isEmpty())
        rule += QStringLiteral("text-decoration:%1%2;").arg(lines.join(QLatin1Char(' ')),
                                                            font.doubleUnderline ? QStringLiteral(" double") : QString());
    if (font.smallCaps)
        rule += QLatin1String("font-variant:small-caps;");
    if (font.colour)
        rule += QStringLiteral("color:%1;").arg(cssColour(*font.colour));
    return rule + QLatin1String("}\n");
}

} // namespace

QString siteStyleSheet(const HelpDocument& doc)
{
    QString css = QString::fromUtf8(StyleRules);
    for (int i = 0; i < int(doc.fonts.size()); ++i)
        css += fontRule(i, doc.fonts[size_t(i)]);
    return css;
}

QString siteScript()
{
    return QString::fromUtf8(ScriptText);
}

QString pageStart(const QString& title, const QString& language, const QString& bodyAttributes)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n"
                          // A CHM viewer shows pages in an old mode unless told otherwise.
                          "<meta http-equiv=\"X-UA-Compatible\" content=\"IE=edge\">\n"
                          "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                          "<title>%2</title>\n<link rel=\"stylesheet\" href=\"site.css\">\n"
                          "<script src=\"site.js\" defer></script>\n</head>\n<body%3>\n")
        .arg(htmlEscaped(language), htmlEscaped(title.trimmed().isEmpty() ? QStringLiteral("Untitled") : title),
             bodyAttributes.isEmpty() ? QString() : QLatin1Char(' ') + bodyAttributes);
}

QString buttonBar(const QString& previousHref, const QString& nextHref, const QString& target)
{
    const QString targeted = target.isEmpty() ? QString() : QStringLiteral(" target=\"%1\"").arg(target);
    QString bar = QStringLiteral("<div class=\"bar\"><nav aria-label=\"Help\">"
                                 "<a href=\"index.html\" target=\"_top\">Contents</a>"
                                 "<a href=\"keywords.html\"%1>Index</a>"
                                 "<a href=\"index.html\" data-back=\"1\">Back</a>").arg(targeted);
    auto browse = [&bar](const QString& href, const QString& label, const QString& text) {
        if (href.isEmpty())
            bar += QStringLiteral("<a aria-disabled=\"true\" aria-label=\"%1\">%2</a>").arg(label, text);
        else
            bar += QStringLiteral("<a href=\"%1\" aria-label=\"%2\">%3</a>").arg(htmlEscaped(href), label, text);
    };
    if (!previousHref.isEmpty() || !nextHref.isEmpty()) {
        browse(previousHref, QStringLiteral("Previous topic"), QStringLiteral("&lt;&lt;"));
        browse(nextHref, QStringLiteral("Next topic"), QStringLiteral("&gt;&gt;"));
    }
    bar += QStringLiteral("</nav><form role=\"search\" action=\"search.html\"%1>").arg(targeted);
    bar += QStringLiteral(
                          "<input type=\"search\" name=\"q\" aria-label=\"Search the help\" placeholder=\"Search\">"
                          "<button type=\"submit\">Find</button></form></div>\n");
    return bar;
}

} // namespace ts::publish
