#pragma once
// The one wiring of the board panel to the client's board input: the mouse's clicks, the keys,
// the drags and the accessibility actions all end in BoardInput (a click is made an intent there),
// the panel reads the pick from it, and after each gesture the owner redraws.
#include <functional>

namespace plimb {

class BoardInput;
class GamePanel;

void bindBoardInput(GamePanel& panel, BoardInput& input, std::function<void()> redraw);

} // namespace plimb
