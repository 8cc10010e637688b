// Every screen drawn twice in the same state, once quad by quad and once through the sprite batch: the
// two pictures must agree to the last bit, and the batch must need fewer draw calls.
#include <string>

#include "app/MenuScene.hpp"
#include "app/RecordScene.hpp"
#include "app/ChangeClass.hpp"
#include "app/WorldRanking.hpp"
#include "engine/EAGLView.hpp"
#include "engine/SpriteBatch.hpp"
#include "platform/UserDefaults.hpp"
#include "support/StageTest.hpp"

namespace quintora::testing {
namespace {

class BatchedScreens : public StageTest {
protected:
    void TearDown() override {
        SpriteBatch::shared().setEnabled(true);
        StageTest::TearDown();
    }

    // The screen as it is now and after each of a few stretches of play with a touch in the middle.
    void playAndCompare(const std::string& what) {
        SpriteBatch& batch = SpriteBatch::shared();
        for (int moment = 0; moment < 4; ++moment) {
            SCOPED_TRACE(what + " at moment " + std::to_string(moment));
            std::size_t calls[2];
            platform::Bitmap shots[2];
            for (const bool batched : {false, true}) {
                batch.setEnabled(batched);
                batch.resetDrawCalls();
                director().redraw();
                calls[batched] = batch.drawCalls();
                shots[batched] = screen();
            }
            ASSERT_EQ(shots[0].pixels.size(), shots[1].pixels.size());
            std::size_t differing = 0;
            for (std::size_t i = 0; i < shots[0].pixels.size(); ++i) differing += i % 4 != 3 && shots[0].pixels[i] != shots[1].pixels[i];
            EXPECT_EQ(differing, 0u);
            EXPECT_GT(calls[0], 0u);
            EXPECT_LE(calls[1], calls[0]);
            totalPlain_ += calls[0];
            totalBatched_ += calls[1];
            tap(240, 160);
            frames(45);
        }
        // Ending detaches the view; the next screen needs it back to be cleared and drawn.
        director().end();
        Scheduler::sharedScheduler().tick(0);
        director().attachInWindow(&director().openGLView()->display());
    }

    std::size_t totalPlain_ = 0;
    std::size_t totalBatched_ = 0;
};

TEST_F(BatchedScreens, EveryStageAtEveryLevel) {
    for (std::size_t stage = 1; stage <= stageTable().size(); ++stage) {
        for (int level = 1; level <= 3; ++level) {
            startStage(static_cast<int>(stage), level);
            playAndCompare("stage " + std::to_string(stage) + " level " + std::to_string(level));
        }
    }
    EXPECT_LT(totalBatched_, totalPlain_);
}

TEST_F(BatchedScreens, MenuRecordsAndWorldRanking) {
    platform::setDataDirectory((folder_ / "data").string());
    director().runWithScene(MenuScene::node().get());
    frames(200);  // the logo gives way to the buttons
    playAndCompare("menu");
    director().runWithScene(RecordScene::node().get());
    frame();
    playAndCompare("records");
    director().runWithScene(WorldRankingScene::node().get());
    frame();
    playAndCompare("world ranking");
}

}  // namespace
}  // namespace quintora::testing
