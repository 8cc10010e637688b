// The sixteen stages of the rotation: adding a mini-game is one line here.
#include "app/ChangeClass.hpp"
#include "games/Baseball.hpp"
#include "games/CardSpeed.hpp"
#include "games/DifferentPicture.hpp"
#include "games/Donttouch.hpp"
#include "games/FollowWay.hpp"
#include "games/GamEat.hpp"
#include "games/GolfHole.hpp"
#include "games/HamburgerGame.hpp"
#include "games/Mathematics.hpp"
#include "games/Phonenumber.hpp"
#include "games/PlantTree.hpp"
#include "games/SameGrim.hpp"
#include "games/SparkMove.hpp"
#include "games/StopCar.hpp"
#include "games/TakeTshirts.hpp"
#include "games/XmaxClick.hpp"

namespace quintora {

const std::array<StageEntry, 16>& stageTable() {
    static const std::array<StageEntry, 16> table = {{
        {1, "HamburgerGameGo", "aaa", makeMiniGameScene<HamburgerGameLayer>},
        {2, "SameGrimGo", "bbb", makeMiniGameScene<SameGrimLayer>},
        {3, "SparkMoveGo", nullptr, makeMiniGameScene<SparkMoveLayer>},
        {4, "TakeTshirtsGo", nullptr, makeMiniGameScene<TakeTshirtsLayer>},
        {5, "BaseballGo", nullptr, makeMiniGameScene<BaseballLayer>},
        {6, "PhonenumberGo", nullptr, makeMiniGameScene<PhonenumberLayer>},
        {7, "CardSpeedGo", nullptr, makeMiniGameScene<CardSpeedLayer>},
        {8, "GamEatGo", nullptr, makeMiniGameScene<GamEatLayer>},
        {9, "StopCarGo", nullptr, makeMiniGameScene<StopCarLayer>},
        {10, "PlantTreeGo", nullptr, makeMiniGameScene<PlantTreeLayer>},
        {11, "DifferentPictureGo", nullptr, makeMiniGameScene<DifferentPictureLayer>},
        {12, "MathematicsGo", nullptr, makeMiniGameScene<MathematicsLayer>},
        {13, "DonttouchGo", nullptr, makeMiniGameScene<DonttouchLayer>},
        {14, "GolfHoleGo", nullptr, makeMiniGameScene<GolfHoleLayer>},
        {15, "FollowWayGo", nullptr, makeMiniGameScene<FollowWayLayer>},
        {16, "XmaxClickGo", nullptr, makeMiniGameScene<XmaxClickLayer>},
    }};
    return table;
}

}  // namespace quintora
