// The platform services in force and the names of the message dialog's buttons.
#include "platform/Services.h"

#include "platform/Headless.h"

namespace kelvra {

namespace {
PlatformServices* gServices = nullptr;
}

PlatformServices& Platform() {
  static HeadlessPlatform fallback;
  return gServices ? *gServices : fallback;
}

void SetPlatform(PlatformServices* services) {
  gServices = services;
}

const char* MsgButtonName(MsgButton b) {
  static const char* const kNames[kMsgButtonCount] = {
      "OK",     "Yes",        "Yes to All", "Retry",     "Ignore", "Abort",
      "Delete", "Delete All", "No",         "No to All", "Cancel"};
  return kNames[int(b)];
}

}  // namespace kelvra
