#include "search/DueControls.h"

#include "forms/PageControls.h"
#include "platform/Twips.h"
#include "ui/FlexGrid.h"
#include "ui/PlainText.h"
#include "ui/ZovButton.h"

#include <QLabel>
#include <QLineEdit>

namespace search {

DueControls BuildDueControls(QWidget* page) {
    using platform::PlaceTwips;
    DueControls c;
    // Each box under its label, left to right in the order Tab takes them.
    const struct {
        const char* label;
        int maxLength;
        int left;
        int width;
    } boxes[] = {{"As of (date)", 10, 120, 1560},
                 {"Within (days)", 4, 1800, 1200},
                 {"Organization (whole or partial)", 50, 3120, 3240},
                 {"Course Code or Name (whole or partial)", 50, 6480, 3960}};
    for (std::size_t i = 0; i < c.txtDue.size(); ++i) {
        auto* label = ui::NewPlainLabel(QString::fromLatin1(boxes[i].label), page);
        PlaceTwips(label, boxes[i].left, 120, boxes[i].width, 255);
        c.txtDue[i] = new QLineEdit(page);
        c.txtDue[i]->setMaxLength(boxes[i].maxLength);
        PlaceTwips(c.txtDue[i], boxes[i].left, 390, boxes[i].width, 315);
        label->setBuddy(c.txtDue[i]);
    }
    c.gridDue = forms::MakePageGrid(page, 120, 840, 10320);
    c.lblDueCount = ui::NewPlainLabel(QString(), page);
    PlaceTwips(c.lblDueCount, 120, 5760, 5400, 255);
    c.cmdDueTrainingHistory =
        forms::MakePageButton(page, forms::PageButton::Proceed, 5640, 5640, 2340, 510);
    c.cmdDuePrint = forms::MakePageButton(page, forms::PageButton::Print, 8100, 5640, 2340, 510);
    return c;
}

} // namespace search
