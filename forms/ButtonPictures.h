#pragma once

#include <QPixmap>

// The pictures of the picture buttons, drawn rather than loaded so the program
// carries no image files: 32 by 32 pixels on a transparent ground.
namespace pictures {

QPixmap HelpPicture();          // a blue disc with a question mark
QPixmap QuitPicture();          // a red disc with the power sign
QPixmap AdminPicture();         // a key
QPixmap BackupRestorePicture(); // a disk with a circling arrow
QPixmap PrintPicture();         // a printer with a sheet coming out

} // namespace pictures
