// Places a top-level window, frame included, in the middle of the usable area of its screen.
#pragma once

class QWidget;

void centreOnScreen(QWidget& window);
