// The actors of every tick and frame in a real GL context: the ship's
// material chosen from the latest tick's contact bits, read back with
// glGetMaterialfv while each actor draws; culling on only around each draw;
// the marks cleared by the tick.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/actors.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "physics/world.h"
#include "physics/wrappers.h"
#include "platform/nx/nx_objects.h"

namespace {

using Rgba = std::array<float, 4>;

// A user object that records, instead of drawing, the GL state it is drawn in.
struct RecordingActor : MyNXWrapper {
  RecordingActor(int32_t type, NxActor* a) : MyNXWrapper(type, a, 0) {}
  Rgba diffuse{}, specular{};
  bool culling = false;
  int draws = 0;
  void draw() override {
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse.data());
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular.data());
    culling = glIsEnabled(GL_CULL_FACE);
    ++draws;
  }
};

// The game's two actors, ship first, and one actor with no user object.
struct ActorScene : NxScene {
  std::vector<NxActor*> list;
  NxActor* createActor(const NxActorDesc&) override { return nullptr; }
  NxU32 getNbActors() const override { return static_cast<NxU32>(list.size()); }
  NxActor** getActors() override { return list.data(); }
  void setActorPairFlags(NxActor&, NxActor&, NxU32) override {}
  NxU32 getActorPairFlags(NxActor&, NxActor&) const override { return 0; }
  void getGravity(NxVec3& gravity) const override { gravity = NxVec3(); }
  void simulate(float) override {}
  void flushStream() override {}
  bool fetchResults(NxSimulationStatus, bool) override { return true; }
};

const Rgba kWhite{1, 1, 1, 1}, kRed{1, 0, 0, 1}, kGrey{0.25f, 0.25f, 0.25f, 1};

TEST(SyncAndDrawActors, ShipRedOnlyWhileTouchingAfterTheStartFrame) {
  resetGameState();
  ActorObject shipActor{}, planetActor{}, bareActor{};
  RecordingActor ship(0, &shipActor), planet(2, &planetActor);
  shipActor.userData = &ship;
  planetActor.userData = &planet;
  ActorScene actors;
  actors.list = {&shipActor, &bareActor, &planetActor};
  scene = &actors;
  gameState.shipX = 3.0f;
  gameState.altitude = -1.5f;
  gameState.shipZ = 40.0f;

  struct Frame {
    uint32_t mask;
    Rgba diffuse;        // the ship's, while it draws
    bool specularSet;    // the white ship specular set this frame
    bool touching;       // what the window's status line shows: from the start frame on
  };
  // A touch over four frames, then a frame without one.
  const Frame frames[] = {{2 | 8, kWhite, false, true}, {8, kRed, true, true}, {8 | 4, kRed, true, true},
                          {4, kWhite, false, false}, {0, kWhite, true, false}};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kWhite.data());
  for (const Frame& frame : frames) {
    glMaterialfv(GL_FRONT, GL_SPECULAR, kGrey.data());
    ship.contactFlags = frame.mask;
    planet.contactFlags = frame.mask;
    uint32_t contact = syncShipActor();
    EXPECT_EQ(ship.contactFlags, 0u);
    EXPECT_EQ(planet.contactFlags, 0u) << "the planet's marks are cleared too";
    gameState.currentTick.shipContact = contact;
    drawActors(shipPose(), contact);
    EXPECT_EQ(ship.diffuse, frame.diffuse) << "mask " << frame.mask;
    EXPECT_EQ(ship.specular, frame.specularSet ? kWhite : kGrey) << "mask " << frame.mask;
    EXPECT_EQ(shipTouching(), frame.touching) << "mask " << frame.mask;
    EXPECT_EQ(planet.diffuse, kWhite) << "the red never carries over, mask " << frame.mask;
    EXPECT_TRUE(ship.culling);
    EXPECT_TRUE(planet.culling);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "culling only while an actor draws";
    Rgba front, back;
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, front.data());
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, back.data());
    EXPECT_EQ(front, kWhite);
    EXPECT_EQ(back, kWhite);
  }
  EXPECT_EQ(ship.draws, 5);
  EXPECT_EQ(planet.draws, 5);
  // The ship's actor is where the flight state puts it, at rest.
  EXPECT_EQ(shipActor.getGlobalPosition().x, 3.0f);
  EXPECT_EQ(shipActor.getGlobalPosition().y, -1.5f);
  EXPECT_EQ(shipActor.getGlobalPosition().z, 40.0f);
  EXPECT_EQ(planetActor.getGlobalPosition().z, 0.0f) << "only the ship is posed";
  scene = nullptr;
}

}  // namespace
