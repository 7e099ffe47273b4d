#include "ui/board/boardbinding.h"

#include "core/client/boardinput.h"
#include "ui/board/gamepanel.h"

namespace plimb {

void bindBoardInput(GamePanel& panel, BoardInput& input, std::function<void()> redraw) {
    const auto click = [&input, redraw](SlotFamily family, int n, MouseButton button) {
        input.click(family, n, button);
        redraw();
    };
    QObject::connect(&panel, &GamePanel::myLetterPressed, &panel,
                     [click](int n, MouseButton b) { click(SlotFamily::MyLetter, n, b); });
    QObject::connect(&panel, &GamePanel::extraPressed, &panel,
                     [click](int n, MouseButton b) { click(SlotFamily::Extra, n, b); });
    QObject::connect(&panel, &GamePanel::hisLetterClicked, &panel,
                     [click](int n) { click(SlotFamily::HisLetter, n, MouseButton::Left); });
    QObject::connect(&panel, &GamePanel::intentRequested, &panel, [&input, redraw](const MoveIntent& intent) {
        input.apply(intent);
        redraw();
    });
    panel.setSelectionSource([&input] {
        return BoardSelection{input.picked(SlotFamily::Extra), input.picked(SlotFamily::MyLetter),
                              input.picked(SlotFamily::HisLetter)};
    });
}

} // namespace plimb
