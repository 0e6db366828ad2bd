#include "labeldesign/ElementDrag.h"
#include "labeldesign/LabelElement.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korvan;

TEST(ElementDrag, MovesInWholeMillimetresAndKeepsTheRemainderInTheGhost) {
    const PixelRect start{35, 40, 59, 55}; // "ABC" at (2, 3) mm, direction 0
    const struct {
        const char* what;
        std::vector<PixelPoint> steps; // pointer positions after the press at (100, 100)
        PixelRect rect;
    } cases[] = {
        {"7 then 3 right", {{107, 100}, {110, 100}}, {45, 40, 69, 55}},
        {"7 right", {{107, 100}}, {40, 40, 64, 55}},
        {"4 left then 4 right", {{96, 100}, {100, 100}}, start},
        {"4 left", {{96, 100}}, start},
        {"6 left 11 down", {{94, 111}}, {30, 50, 54, 65}},
        {"1 pixel at a time to 5",
         {{101, 100}, {102, 100}, {103, 100}, {104, 100}, {105, 100}},
         {40, 40, 64, 55}},
        {"far off the label", {{0, 0}}, {-65, -60, -41, -45}},
    };
    for (const auto& c : cases) {
        ElementDrag drag(start, 0, {100, 100});
        for (PixelPoint p : c.steps)
            drag.moveTo(p);
        EXPECT_EQ(drag.rect(), c.rect) << c.what;
        const PixelPoint last = c.steps.back();
        EXPECT_EQ(drag.ghost(),
                  (PixelRect{start.left + last.x - 100, start.top + last.y - 100,
                             start.right + last.x - 100, start.bottom + last.y - 100}))
            << c.what;
    }
}

TEST(ElementDrag, ReadOutsAndPositionFollowTheAnchorCorner) {
    const struct {
        int direction;
        PixelRect rect;
        PixelPoint position;
    } cases[] = {
        {0, {35, 40, 59, 55}, {3, 4}},
        {90, {35, 16, 50, 40}, {3, 4}},
        {180, {11, 25, 35, 40}, {3, 4}},
        {270, {20, 40, 35, 64}, {3, 4}},
    };
    for (const auto& c : cases) {
        ElementDrag drag(c.rect, c.direction, {0, 0});
        drag.moveTo({5, 5}); // one millimetre right and down
        const PixelRect mm = drag.rectMm();
        EXPECT_EQ(mm, (PixelRect{(c.rect.left + 5) / 5 - 5, (c.rect.top + 5) / 5 - 5,
                                 (c.rect.right + 5) / 5 - 5, (c.rect.bottom + 5) / 5 - 5}));
        EXPECT_EQ(drag.positionMm(), c.position) << c.direction;
    }
    ElementDrag unknown({0, 0, 0, 0}, 45, {0, 0});
    EXPECT_FALSE(unknown.positionMm());
}

TEST(ElementDrag, TheDraggedPositionIsWrittenToBothPositionPairs) {
    LabelElement element({"ABC", "", "90", "12*24", "12*24", "2", "3", "TRUE", "2", "3"});
    ElementDrag drag({35, 16, 50, 40}, 90, {0, 0});
    drag.moveTo({-12, 7}); // two millimetres left, one down
    const auto mm = drag.positionMm();
    ASSERT_TRUE(mm);
    element.setPosition(mm->x, mm->y);
    EXPECT_EQ(element.columns(), (std::array<std::string, 10>{"ABC", "", "90", "12*24", "12*24",
                                                              "0", "4", "TRUE", "0", "4"}));
}
