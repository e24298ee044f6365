#pragma once
// The program's icon resources by number, drawn from the SVG pictures compiled into the backend.

#include <QIcon>
#include <QPixmap>

namespace platform::window {

// Application 128; tray 189 and 192 (connected, two animation frames), 193 (not connected),
// 178 (access point), 174 (the operating system's wireless service in control); activity
// indicator frames 175, 176, 177. Any other number gives a null icon or pixmap.
QIcon IconResource(int number);
QPixmap IconPixmap(int number, int size);

}  // namespace platform::window
