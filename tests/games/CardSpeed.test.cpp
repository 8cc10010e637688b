#include "games/CardSpeed.hpp"

#include "engine/Sprite.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

constexpr int kCardSpeed = 7;

CardSpeedLayer* cards() { return StageTest::layerAs<CardSpeedLayer>(); }

// The row card showing the same picture as the flying one, found by looking at the pictures.
int matchingCard() {
    const Sprite* flying = cards()->flyingCard();
    for (const Ref<Node>& child : cards()->children()) {
        const auto* sprite = dynamic_cast<const Sprite*>(child.get());
        if (sprite == nullptr || sprite == flying || sprite->texture() != flying->texture()) continue;
        for (int i = 0; i < CardSpeedLayer::kCards; ++i) {
            if (cards()->cardRect(i).centre() == sprite->position()) return i;
        }
    }
    return -1;
}
void tapCard(int i) { StageTest::tap(cards()->cardRect(i).centre().x, cards()->cardRect(i).centre().y); }

void tapTheMatch(StageTest& t, int) {
    t.frames(20);  // watch the card go by
    ASSERT_GE(matchingCard(), 0);
    tapCard(matchingCard());
}
void tapAnother(StageTest& t, int level) {
    t.frames(20);
    tapCard((matchingCard() + 1 + level) % CardSpeedLayer::kCards);
}
const RegisterStage kPlayer(kCardSpeed, {tapTheMatch, tapAnother, false});

}  // namespace
}  // namespace quintora::testing
