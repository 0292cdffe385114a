#include "physics/contact_report.h"

#include <cstdio>

#include "app/game_state.h"
#include "physics/wrappers.h"
#include "sound/sound.h"

MyContactReport contactReport;

void MyContactReport::onContactNotify(NxContactPair& pair, NxU32 events) {
  for (NxActor* actor : pair.actors) {
    if (actor != nullptr && actor->userData != nullptr) {
      static_cast<MyNXWrapper*>(actor->userData)->contactFlags = events;
    }
  }
  if (events & NX_NOTIFY_ON_START_TOUCH) {
    printf("\nStart touch\n");
    gameState.speed = -2;  // a slow reverse: the ship backs away
  }
  if (events & NX_NOTIFY_ON_TOUCH) {
    printf("On touch\n");
    FSOUND_PlaySound(1, alarmSample);
  }
  if (events & NX_NOTIFY_ON_END_TOUCH) {
    printf("End touch\n\n");
  }
}
