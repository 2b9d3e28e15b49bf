#pragma once

// Every time-out, pause and retry count of the links in one place, so tests
// can shorten them. The defaults are the device's real timing.

#include <chrono>

namespace orvane {

struct Timings {
  using ms = std::chrono::milliseconds;

  // --- communication worker ---
  ms workerEventWait{3000};   // its wait for its events
  ms workerReplyWait{50000};  // its wait for the reply to a frame

  // --- serial / RS-485 port: how long the port thread waits for the next
  // event, by what the frame in flight is waiting for ---
  ms serialIdProbe{30};             // the answer window of one probed device ID
  ms serialTransferSynced{1000};    // transfer frame, reply begun
  ms serialTransferAwaiting{3000};  // transfer frame, reply not begun
  ms serialTransferOther{1000};     // transfer frame otherwise
  ms serialSynced{500};             // other frames, reply begun
  ms serialLongOperation{10000};    // network rename or factory reset
  ms serialNameRead{20000};         // network name read
  ms serialOther{1000};             // otherwise
  ms serialAfterLongWrite{5000};    // pause after writing a long operation
  ms serialAfterRead{5};            // pause after reading a reply's bytes
  ms serialRetryReadPause{10};      // pause before reading again after a time-out
  int serialIdleReadLimit = 220;    // empty reads before the link is lost
  int serialProbeIdleReads = 10;    // empty reads that end an ID probe

  // --- USB HID port ---
  ms usbEventWait{5000};      // without any event for this long, the frame is sent again
  ms usbLongRead{10000};      // read wait of the network operations' replies
  ms usbEventResetPause{50};  // pause after resetting each event on open and close
  int usbAttempts = 3;        // sends of one frame at most

  // --- network port ---
  int netPort = 8899;  // the device's TCP port
  ms netEventWait{5000};
  ms netConnectTimeout{5000};  // a device that neither accepts nor refuses the connection
  ms netReceiveTimeout{3000};
  ms netSendTimeout{3000};    // a frame the connection takes no room for: the link is lost
  ms netReplyDeadline{6000};  // a reply still incomplete though bytes keep coming: a failure
  ms netParkWait{5000};       // the longest close() waits for the thread to let the link go
  ms echoTimeout{100};        // one echo attempt
  int echoAttempts = 4;
  ms echoNonAnswerPause{300};
  ms netEventResetPause{50};
  int netReconnects = 2;  // reconnects with a re-send before the link is lost
};

}  // namespace orvane
