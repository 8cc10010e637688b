// Every screen drawn twice in the same state, once quad by quad and once through the sprite batch: the
// two pictures must agree to the last bit, and the batch must need fewer draw calls.
#include <gtest/gtest.h>

#include <string>

#include "app/MenuScene.hpp"
#include "app/RecordScene.hpp"
#include "app/ChangeClass.hpp"
#include "app/WorldRanking.hpp"
#include "engine/EAGLView.hpp"
#include "engine/SpriteBatch.hpp"
#include "platform/UserDefaults.hpp"
#include "support/StageTest.hpp"

namespace quintora {
namespace {

using testing::StageTest;

class BatchedScreens : public StageTest {
protected:
    void TearDown() override {
        SpriteBatch::shared().setEnabled(true);
        StageTest::TearDown();
    }

    void expectBatchingInvisible(const std::string& what) {
        SCOPED_TRACE(what);
        SpriteBatch& batch = SpriteBatch::shared();
        batch.setEnabled(false);
        batch.resetDrawCalls();
        director().redraw();
        const std::size_t plainCalls = batch.drawCalls();
        const platform::Bitmap plain = screen();
        batch.setEnabled(true);
        batch.resetDrawCalls();
        director().redraw();
        const platform::Bitmap batched = screen();
        ASSERT_EQ(plain.pixels.size(), batched.pixels.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < plain.pixels.size(); i += 4) {
            differing += plain.pixels[i] != batched.pixels[i] || plain.pixels[i + 1] != batched.pixels[i + 1] ||
                         plain.pixels[i + 2] != batched.pixels[i + 2];
        }
        EXPECT_EQ(differing, 0u);
        EXPECT_GT(plainCalls, 0u);
        EXPECT_LE(batch.drawCalls(), plainCalls);
        totalPlain_ += plainCalls;
        totalBatched_ += batch.drawCalls();
    }

    // The screen as it is now and after each of a few stretches of play with a touch in the middle.
    void playAndCompare(const std::string& what) {
        for (int moment = 0; moment < 4; ++moment) {
            expectBatchingInvisible(what + " at moment " + std::to_string(moment));
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
}  // namespace quintora
