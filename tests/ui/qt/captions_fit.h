// Whether a window shows every caption whole: each label, button and check
// box is at least as wide and high as its caption needs, and each column of a
// list at least as wide as its header caption.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QWidget>

inline void ExpectCaptionsFit(const QWidget& window) {
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window)) {
            continue;
        }
        QString caption;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            caption = label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            caption = button->text();
        } else {
            continue;
        }
        const QSize needed = widget->sizeHint();
        EXPECT_GE(widget->width(), needed.width()) << "cut: " << caption.toStdString();
        EXPECT_GE(widget->height(), needed.height()) << "cut: " << caption.toStdString();
    }
    for (const QTreeView* list : window.findChildren<QTreeView*>()) {
        const QHeaderView* header = list->header();
        if (header->isHidden()) {
            continue;
        }
        for (int column = 0; column < header->count(); ++column) {
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
                << "cut: column " << column << " of " << list->objectName().toStdString();
        }
    }
}
