#pragma once

namespace tessera {

class MainWindow;

// What the program sets up once its application object exists, before the
// main window is made: its name, the icon theme and the window picture.
void prepareApplication();

// Ends the program once `window` has closed for good, whenever that is: the
// quit waits in the event queue, so an Exit chosen before the event loop
// runs, or while another window of ours is still shown, ends it all the same.
void quitWhenClosed(MainWindow& window);

} // namespace tessera
