#pragma once

class FlexGrid;
class QWidget;
class ZovButton;

// The controls of the Lobby's pages, made with their design-time look and place (twips), so
// that each page can build its own controls where the Lobby lays them out.
namespace forms {

// Buttons are colour-coded by what they do, as in every window of the program; the print
// buttons lie flat on the paper; a flashing button is painted by the flashing timer while it
// shows.
enum class PageButton { Record, Remove, Proceed, Flash, Print };

ZovButton* MakePageButton(QWidget* parent, PageButton kind, int left, int top, int width,
                          int height);

// A list of the page: a size larger than the grid's own, since the lists are read all day.
// The height follows the rows each fill asks for.
FlexGrid* MakePageGrid(QWidget* parent, int left, int top, int width);

} // namespace forms
