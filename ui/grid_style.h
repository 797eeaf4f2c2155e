#pragma once

#include <QHeaderView>
#include <QTableView>

// What the program's grids share: no row header, columns of fixed width set by the program, header
// sections that do not light up with the selection, and rows as low as the scale asks for.
inline void StyleGridHeaders(QTableView *view)
{
    view->verticalHeader()->hide();
    view->verticalHeader()->setMinimumSectionSize(1);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
}

// A grid of one-line cells whose rows all have one height: nothing is measured per row, however
// many rows there are, and a text a little wider than its cell loses a margin, not its digits.
inline void StyleOneLineGrid(QTableView *view)
{
    StyleGridHeaders(view);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideNone);
}
