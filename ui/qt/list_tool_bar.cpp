#include "ui/qt/list_tool_bar.h"

#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/qt/font_scale.h"

namespace {

QToolButton* AddButton(QWidget* bar, const char* name, const char16_t* caption,
                       QStyle::StandardPixmap picture) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf16(caption));
    button->setIcon(bar->style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // At least 60 x 40 of the original font's pixels; wider when the font
    // needs it to show the whole caption.
    button->setMinimumSize(TFontScale(bar->font()).Size(60, 40));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    bar->layout()->addWidget(button);
    return button;
}

}  // namespace

ListToolBar::ListToolBar(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    sbAdd = AddButton(this, "sbAdd", u"Добавить", QStyle::SP_FileIcon);
    sbSet = AddButton(this, "sbSet", u"Изменить", QStyle::SP_FileDialogDetailedView);
    sbDel = AddButton(this, "sbDel", u"Удалить", QStyle::SP_TrashIcon);
    layout->addStretch();
}

void ListToolBar::SetRowSelected(bool selected) {
    sbSet->setEnabled(selected);
    sbDel->setEnabled(selected);
}
