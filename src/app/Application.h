#pragma once

namespace tessera {

// What the program sets up once its application object exists, before the
// main window is made: its name, the icon theme and the window picture.
void prepareApplication();

} // namespace tessera
