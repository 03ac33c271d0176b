#pragma once

#include <QString>

class QTabWidget;
class QWidget;

// What assistive technology (a screen reader, a GUI test tool) learns about the kit's
// controls: the flat buttons as push buttons (check boxes while they stay down as two-state
// buttons) with a name, a description, their states and a press action; the windows by their
// captions, message box and modal windows as dialogs; tab pages by their tab captions.
namespace ui {

// Registers the kit's accessible interfaces with Qt; every call after the first does
// nothing. The flat button and the window base call it, so no window needs to.
void InstallAccessibility();

// What a flat button is announced as: its caption without access-key marks ("&&" stays one
// "&"), the lines of a two-line caption joined by a blank, trimmed; a picture-only button
// goes by its tool tip.
QString ButtonName(const QString& caption, const QString& toolTip);

// Adds `page` to `tabs` under `caption` and names the page after it. Change a caption with
// SetTabCaption later, so that the page's name keeps in step.
int AddTabPage(QTabWidget* tabs, QWidget* page, const QString& caption);
void SetTabCaption(QTabWidget* tabs, int index, const QString& caption);

} // namespace ui
