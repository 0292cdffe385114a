// The Wii Remote: connection at start-up and the polling thread.
#pragma once

void initWiimote();
