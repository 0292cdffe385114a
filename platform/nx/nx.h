// The physics SDK the game is written against: the operations it calls, under
// the SDK's own names. The collision engine behind them lives beside this
// header; game code includes nothing else from this folder.
#pragma once

#include <cstdint>

enum NxSimulationStatus { NX_RIGID_BODY_FINISHED = 1 };

class NxScene {
 public:
  virtual ~NxScene() {}
  // Starts a step of `elapsedTime` seconds.
  virtual void simulate(float elapsedTime) = 0;
  virtual void flushStream() = 0;
  // Finishes the step: poses are updated and contact notifications delivered
  // before it returns.
  virtual bool fetchResults(NxSimulationStatus status, bool block) = 0;
};

class NxPhysicsSDK {
 public:
  virtual ~NxPhysicsSDK() {}
};
