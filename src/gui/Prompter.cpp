#include "Prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>

namespace ts {

namespace {

QString captionOrTitle(const QString& caption)
{
    if (!caption.isEmpty())
        return caption;
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Topicsmith") : name;
}

QMessageBox::Icon qtIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Warning: return QMessageBox::Warning;
    case Prompter::Icon::Error: return QMessageBox::Critical;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// One pattern list "*.TSP" or "*.bmp;*.shg" as Qt's blank-separated list.
// File names on this system are case-sensitive, so each pattern is offered
// in its upper- and lower-case form as well.
QString qtPatterns(const QString& patterns)
{
    QStringList out;
    const QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString p = raw.trimmed();
        if (p.isEmpty())
            continue;
        for (const QString& variant : {p, p.toUpper(), p.toLower()})
            if (!out.contains(variant))
                out.append(variant);
    }
    return out.join(QLatin1Char(' '));
}

void startIn(QFileDialog& dialog, const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    const QFileInfo info(fileName);
    if (fileName.contains(QLatin1Char('/')) && info.dir().exists())
        dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
}

} // namespace

QString WidgetPrompter::lineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString WidgetPrompter::qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = i + 1 < parts.size() ? qtPatterns(parts.at(i + 1)) : QString();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        filters.append(patterns.isEmpty() ? description
                                          : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

Prompter::Answer WidgetPrompter::message(QWidget* parent, const QString& text, const QString& caption,
                                         Buttons buttons, Icon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(captionOrTitle(caption));
    box.setText(lineBreaks(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(qtIcon(icon));
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoOrKeep:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        // Not shown: it only takes Escape and the close box.
        box.button(QMessageBox::Cancel)->hide();
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    const int result = box.exec();
    switch (result) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
    }
    // Closed some other way: the answer that changes nothing.
    return buttons == Buttons::YesNo ? Answer::No : buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

namespace {
// The dialog lists the patterns after each description; a description that
// already names its patterns ("Topicsmith Project (*.tsp)") is shown as it
// stands instead of with a second list after it.
void setNameFilter(QFileDialog& dialog, const QString& filter)
{
    dialog.setNameFilter(WidgetPrompter::qtFilter(filter));
    const QStringList parts = filter.split(QLatin1Char('|'));
    bool ownPatterns = true;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        ownPatterns = ownPatterns && parts.at(i).trimmed().endsWith(QLatin1Char(')'));
    dialog.setOption(QFileDialog::HideNameFilterDetails, ownPatterns);
}
} // namespace

QString WidgetPrompter::openFile(QWidget* parent, const QString& filter, const QString& fileName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    setNameFilter(dialog, filter);
    startIn(dialog, fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString WidgetPrompter::saveFile(QWidget* parent, const QString& filter, const QString& fileName,
                                 const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own replace question after the dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    setNameFilter(dialog, filter);
    dialog.setDefaultSuffix(defaultSuffix);
    startIn(dialog, fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString WidgetPrompter::chooseFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    QFileDialog dialog(parent, caption);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    // A folder not made yet starts the dialog in its parent, with its name typed in.
    const QFileInfo wanted(folder);
    if (wanted.isDir()) {
        dialog.setDirectory(wanted.absoluteFilePath());
    } else {
        dialog.setDirectory(wanted.absolutePath());
        dialog.selectFile(wanted.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::optional<std::uint32_t> WidgetPrompter::chooseColour(QWidget* parent, std::uint32_t initial)
{
    const QColor start(int(initial & 0xFF), int((initial >> 8) & 0xFF), int((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return std::uint32_t(chosen.red()) | std::uint32_t(chosen.green()) << 8 | std::uint32_t(chosen.blue()) << 16;
}

bool WidgetPrompter::print(QWidget* parent, const QTextDocument& document, const QString& jobTitle)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobTitle);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    document.print(&printer);
    return true;
}

} // namespace ts
