#include "HelpButtonBar.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace ts {

HelpButtonBar::HelpButtonBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this))
{
    layout_->setContentsMargins(4, 3, 4, 3);
    layout_->setSpacing(3);
    layout_->addStretch(1);
}

HelpButtonBar::Button* HelpButtonBar::find(const QString& id)
{
    const QString key = id.trimmed().toCaseFolded();
    for (Button& b : buttons_)
        if (b.id == key)
            return &b;
    return nullptr;
}

const HelpButtonBar::Button* HelpButtonBar::find(const QString& id) const
{
    return const_cast<HelpButtonBar*>(this)->find(id);
}

void HelpButtonBar::updateEnabled(Button& b) { b.button->setEnabled(b.available && !b.disabledByFile); }

void HelpButtonBar::addButton(const QString& id, const QString& caption, const QString& macro)
{
    if (Button* existing = find(id)) {
        existing->button->setText(caption);
        existing->macro = macro;
        return;
    }
    Button b;
    b.id = id.trimmed().toCaseFolded();
    b.button = new QPushButton(caption, this);
    b.button->setObjectName(b.id);
    b.button->setAutoDefault(false);
    b.button->setFocusPolicy(Qt::TabFocus);
    b.button->setMinimumWidth(60);
    b.macro = macro;
    const QString key = b.id;
    connect(b.button, &QPushButton::clicked, this, [this, key] {
        if (const Button* clicked = find(key))
            emit macroRequested(clicked->macro);
    });
    layout_->insertWidget(layout_->count() - 1, b.button);
    buttons_.push_back(b);
}

void HelpButtonBar::removeButton(const QString& id)
{
    const QString key = id.trimmed().toCaseFolded();
    for (auto it = buttons_.begin(); it != buttons_.end(); ++it)
        if (it->id == key) {
            delete it->button;
            buttons_.erase(it);
            return;
        }
}

bool HelpButtonBar::bindButton(const QString& id, const QString& macro)
{
    Button* b = find(id);
    if (b)
        b->macro = macro;
    return b != nullptr;
}

bool HelpButtonBar::setDisabledByFile(const QString& id, bool disabled)
{
    Button* b = find(id);
    if (!b)
        return false;
    b->disabledByFile = disabled;
    updateEnabled(*b);
    return true;
}

void HelpButtonBar::setAvailable(const QString& id, bool available)
{
    if (Button* b = find(id)) {
        b->available = available;
        updateEnabled(*b);
    }
}

QPushButton* HelpButtonBar::button(const QString& id) const
{
    const Button* b = find(id);
    return b ? b->button : nullptr;
}

QString HelpButtonBar::macro(const QString& id) const
{
    const Button* b = find(id);
    return b ? b->macro : QString();
}

QStringList HelpButtonBar::ids() const
{
    QStringList out;
    for (const Button& b : buttons_)
        out.append(b.id);
    return out;
}

} // namespace ts
#include "moc_HelpButtonBar.cpp"
