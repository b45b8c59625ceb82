// The vertical bar of "Добавить", "Изменить" and "Удалить" that stands beside
// the lists of the settings dialogs.
#pragma once

#include <QWidget>

class QToolButton;

class ListToolBar : public QWidget {
    Q_OBJECT
  public:
    explicit ListToolBar(QWidget* parent);

    // "Изменить" and "Удалить" act on the selected row; they are enabled
    // exactly while there is one.
    void SetRowSelected(bool selected);

    QToolButton* sbAdd;
    QToolButton* sbSet;
    QToolButton* sbDel;
};
