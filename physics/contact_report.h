// Contact notifications of the (ship, planet) pair: marks both actors' user
// objects, prints the event, throws the ship back and sounds the alarm.
#pragma once

#include "platform/nx/nx.h"

class MyContactReport : public NxUserContactReport {
 public:
  // Bit 2: "\nStart touch\n" and speed -2; bit 8: "On touch\n" and the alarm
  // on channel 1; bit 4: "End touch\n\n"; tested in that order. Both actors'
  // user objects, where present, get the whole mask as their contactFlags.
  void onContactNotify(NxContactPair& pair, NxU32 events) override;
};

extern MyContactReport contactReport;
