#include "games/HamburgerGame.hpp"

#include <cstdlib>

#include "flow/GameState.hpp"
#include "platform/Log.hpp"

namespace quintora {

namespace {

// Filling images by kind (1 to 4); kind 5, the top bun, has none and is never in an order.
constexpr const char* kFillingImage[] = {nullptr, "hamvar2.png", "hamvar1.png", "hamtomato.png",
                                         "hamcheese.png"};

constexpr float kOrderX = 145;
constexpr float kPlayerX = 365;

}  // namespace

void HamburgerGameLayer::GameSetting() {
    okcount = 0;
    startTick();
    burgercount = 0;
    selectcount = 0;

    addBackground("hambg.png");
    addHowTo("hamburger");
    addTimeBar();

    Ref<Sprite> var2table = addSprite("hamvar2table.png", {80, 30}, 1);
    Ref<Sprite> var1table = addSprite("hamvar1table.png", {180, 30}, 1);
    Ref<Sprite> toptable = addSprite("hamtoptable.png", {440, 30}, 1);
    Ref<Sprite> tomatotable = addSprite("hamtomatotable.png", {270, 30}, 1);
    Ref<Sprite> cheesetable = addSprite("hamcheesetable.png", {360, 30}, 1);
    R_hamvar2table = getFrame(var2table.get());
    R_hamvar1table = getFrame(var1table.get());
    R_hamtoptable = getFrame(toptable.get());
    R_hamtomatotable = getFrame(tomatotable.get());
    R_hamcheesetable = getFrame(cheesetable.get());

    S_hamtop = Sprite::spriteWithFile("hamtop.png");
    S_hambottom = Sprite::spriteWithFile("hambottom.png");
    addSprite("hambottom.png", {kPlayerX, 115}, 1);
    S_hambottom->setPosition({kOrderX, 115});
    addChild(S_hambottom.get(), 1);

    Lifesetting();
    SaleBurger();
}

void HamburgerGameLayer::SaleBurger() {
    Ref<Sprite> playerTop = Sprite::spriteWithFile("hamtop.png");
    burgercount = 0;

    int fillings = 5;
    float topHeight = 210;
    if (level() == 2) {
        fillings = 6;
        topHeight = 225;
    } else if (level() == 3) {
        fillings = 7;
        topHeight = 240;
    }
    addChild(S_hamtop.get(), 2);
    S_hamtop->setPosition({kOrderX, topHeight});
    addChild(playerTop.get(), 2);
    playerTop->setPosition({kPlayerX, topHeight});

    for (int i = 0; i < fillings; ++i) {
        burgercount += 1;
        burgersort = 1 + static_cast<int>(random() % 4);
        burgercontents[static_cast<std::size_t>(i)] = burgersort;
        platform::logf("%d", burgersort);
        Addburber();
    }
}

void HamburgerGameLayer::Addburber() {
    Ref<Sprite>& filling = S_Saleburger[static_cast<std::size_t>(burgercount)];
    filling = Sprite::spriteWithFile(kFillingImage[burgersort]);
    addChild(filling.get(), 1);
    filling->setPosition({kOrderX, 105.0f + 15.0f * static_cast<float>(burgercount)});
}

bool HamburgerGameLayer::handleTouchesBegan(const TouchSet& touches, const TouchEvent&) {
    const Point p = touchPoint(touches);
    const Rect touch = makeRect(p.x, p.y, 20, 20);
    // The trays are tested independently: a touch that met two trays would judge two taps.
    const struct {
        const Rect& tray;
        int kind;
        const char* word;
    } trays[] = {
        {R_hamvar2table, 1, "var2"},   {R_hamvar1table, 2, "var1"}, {R_hamtoptable, 5, "top"},
        {R_hamtomatotable, 3, "toma"}, {R_hamcheesetable, 4, "ch"},
    };
    for (const auto& t : trays) {
        if (!rectIntersectsRect(t.tray, touch)) continue;
        selectcontents = t.kind;
        Selectburger();
        platform::log(t.word);
    }
    return true;
}

void HamburgerGameLayer::Selectburger() {
    platform::logf("count = %d", selectcount);
    // A tap after a full order, before the tick has seen it complete, can stand past the order's slots;
    // there is nothing to match there, and such a tap is wrong like any tap behind the order.
    const bool inOrder = selectcount >= 0 && selectcount < kSlots;
    if (inOrder && burgercontents[static_cast<std::size_t>(selectcount)] == selectcontents) {
        okcount += 1;
        platform::log("OK");
        Ref<Sprite>& filling = S_Todayburger[static_cast<std::size_t>(selectcount)];
        filling = Sprite::spriteWithFile(kFillingImage[selectcontents]);
        addChild(filling.get(), 1);
        filling->setPosition({kPlayerX, 120.0f + 15.0f * static_cast<float>(selectcount)});
    } else {
        endStage(false);
    }
    selectcount += 1;
}

void HamburgerGameLayer::checksBeforeTimeOut() {
    if (okcount == burgercount) {
        platform::log("win");
        endStage(true);
    }
}

const Sprite* HamburgerGameLayer::orderFilling(int k) const {
    if (k < 1 || k >= kSlots) return nullptr;
    return S_Saleburger[static_cast<std::size_t>(k)].get();
}

const Sprite* HamburgerGameLayer::stackedFilling(int j) const {
    if (j < 0 || j >= kSlots) return nullptr;
    return S_Todayburger[static_cast<std::size_t>(j)].get();
}

}  // namespace quintora
