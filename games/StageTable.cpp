// The sixteen stages of the rotation: adding a mini-game is one line here.
#include "games/StageTable.hpp"

#include "flow/MiniGameLayer.hpp"
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
        {1, "HamburgerGameGo", "aaa", makeMiniGameScene<HamburgerGameLayer>, "Hamburger"},
        {2, "SameGrimGo", "bbb", makeMiniGameScene<SameGrimLayer>, "Same picture"},
        {3, "SparkMoveGo", nullptr, makeMiniGameScene<SparkMoveLayer>, "Dodge the sparks"},
        {4, "TakeTshirtsGo", nullptr, makeMiniGameScene<TakeTshirtsLayer>, "T-shirts"},
        {5, "BaseballGo", nullptr, makeMiniGameScene<BaseballLayer>, "Steal the base"},
        {6, "PhonenumberGo", nullptr, makeMiniGameScene<PhonenumberLayer>, "Phone number"},
        {7, "CardSpeedGo", nullptr, makeMiniGameScene<CardSpeedLayer>, "Flying card"},
        {8, "GamEatGo", nullptr, makeMiniGameScene<GamEatLayer>, "Gum eating"},
        {9, "StopCarGo", nullptr, makeMiniGameScene<StopCarLayer>, "Stop the car"},
        {10, "PlantTreeGo", nullptr, makeMiniGameScene<PlantTreeLayer>, "Plant the trees"},
        {11, "DifferentPictureGo", nullptr, makeMiniGameScene<DifferentPictureLayer>, "Spot the difference"},
        {12, "MathematicsGo", nullptr, makeMiniGameScene<MathematicsLayer>, "Arithmetic"},
        {13, "DonttouchGo", nullptr, makeMiniGameScene<DonttouchLayer>, "Don't touch"},
        {14, "GolfHoleGo", nullptr, makeMiniGameScene<GolfHoleLayer>, "Golf hole"},
        {15, "FollowWayGo", nullptr, makeMiniGameScene<FollowWayLayer>, "Follow the way"},
        {16, "XmaxClickGo", nullptr, makeMiniGameScene<XmaxClickLayer>, "Silhouettes"},
    }};
    return table;
}

}  // namespace quintora
