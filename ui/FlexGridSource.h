#pragma once

#include <QString>

// Rows a grid can hold without their texts. A grid filled from a source keeps only each
// row's item number; a cell's text is asked for whenever the cell is read, shown or sorted
// on. A list of thousands of records is then filled without building thousands of texts of
// which the user sees fifteen.
//
// A source must give the same text for the same cell for as long as a grid holds its rows:
// it answers from a copy taken when the grid was filled, not from a file that may change.
class FlexGridSource {
public:
    virtual ~FlexGridSource() = default;

    // Appends the text of column `col` of item `item` (numbered from 1) to `out`. A column the
    // source has nothing for appends nothing.
    virtual void AppendCell(qint32 item, int col, QString& out) const = 0;
};
