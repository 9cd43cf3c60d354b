#pragma once

class QWidget;

namespace nokturna {

// Moves a top-level window so that it sits in the middle of the available area of its screen.
void CentreOnScreen(QWidget* window);

}  // namespace nokturna
