#include "games/PlantTree.hpp"

#include <cstdlib>

#include "engine/Geometry.hpp"

namespace quintora {

void PlantTreeLayer::GameSetting() {
    okcount = 0;
    Lifesetting();
    startTick();
    addBackground("ptbg.png");
    addHowTo("planttree");
    addTimeBar();
    R_touch = getFrame(addSprite("pttouch.png", {240, 200}, 1).get());

    switch (level()) {
        case 2:
            treecount = 20;
            break;
        case 3:
            treecount = 25;
            break;
        default:
            treecount = 15;
            break;
    }

    N_count = std::to_string(treecount);
    L_count = Label::labelWithString(N_count, "Marker Felt", 50);
    addChild(L_count.get(), 1);
    L_count->setRGB(57, 106, 5);
    L_count->setPosition({400, 170});
}

bool PlantTreeLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    if (rectIntersectsRect(makeRect(p.x, p.y, 30, 30), R_touch)) PlantTreeRand();
    return true;
}

void PlantTreeLayer::PlantTreeRand() {
    Ref<Sprite> tree = Sprite::spriteWithFile("pttree.png");
    // The slots hold as many trees as the largest level asks for.
    if (okcount < kTreeSlots) S_tree[okcount++] = tree;

    const long x = 50 + random() % 400;
    const long y = 20 + random() % 100;
    addChild(tree.get(), 1);
    tree->setPosition({static_cast<float>(x), static_cast<float>(y)});

    treecount -= 1;
    L_count->setString(std::to_string(treecount));
    if (treecount == 0) endStage(true);
}

}  // namespace quintora
