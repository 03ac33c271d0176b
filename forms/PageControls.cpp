#include "forms/PageControls.h"

#include "forms/ButtonLook.h"
#include "forms/ButtonPictures.h"
#include "platform/Twips.h"
#include "ui/FlexGrid.h"
#include "ui/ZovButton.h"
#include "ui/ZovButtonPainter.h"

namespace forms {

ZovButton* MakePageButton(QWidget* parent, PageButton kind, int left, int top, int width,
                          int height) {
    auto* button = new ZovButton(parent);
    switch (kind) {
    case PageButton::Record:
        StyleButton(button, ButtonRole::Record);
        break;
    case PageButton::Remove:
        StyleButton(button, ButtonRole::Remove);
        break;
    case PageButton::Proceed:
        StyleButton(button, ButtonRole::Proceed);
        break;
    case PageButton::Flash:
        StyleButton(button, ButtonRole::Leave);
        break;
    case PageButton::Print:
        StyleButton(button, ButtonRole::Record);
        button->SetButtonType(zov::SeeThroughButton);
        button->SetPictureNormal(pictures::PrintPicture());
        button->SetPicturePosition(zov::PictureLeft);
        break;
    }
    platform::PlaceTwips(button, left, top, width, height);
    return button;
}

FlexGrid* MakePageGrid(QWidget* parent, int left, int top, int width) {
    auto* grid = new FlexGrid(parent);
    QFont larger = grid->font();
    larger.setPointSize(9);
    grid->setFont(larger);
    platform::PlaceTwips(grid, left, top, width, 5400);
    return grid;
}

} // namespace forms
