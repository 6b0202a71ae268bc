// The events in force and the recording implementation.
#include "common/Events.h"

namespace kelvra {

namespace {
TGameEvents gDefaultEvents;  // hears nothing: nobody above listens
TGameEvents* gEvents = &gDefaultEvents;

std::string Line(const char* what, int a) {
  return std::string(what) + " " + std::to_string(a);
}
}  // namespace

TGameEvents& Events() {
  return *gEvents;
}

void SetEvents(TGameEvents* events) {
  gEvents = events ? events : &gDefaultEvents;
}

void THeadlessEvents::LevelSetOpened(int kind, const std::string& file) {
  log.push_back(Line("opened", kind) + " " + file);
}
void THeadlessEvents::LevelSetClosed(int kind, const std::string& file) {
  log.push_back(Line("closed", kind) + " " + file);
}
void THeadlessEvents::ModifiedChanged(int kind) {
  log.push_back(Line("modified", kind));
}
bool THeadlessEvents::SaveAsRequested(int kind) {
  log.push_back(Line("save as", kind));
  return saveAsAnswer;
}
void THeadlessEvents::DialogShown(bool begin) {
  log.push_back(Line("dialog", begin ? 1 : 0));
}
void THeadlessEvents::HighScoresChanged(int kind) {
  log.push_back(Line("scores", kind));
}
void THeadlessEvents::PlayerColourChanged(int player) {
  log.push_back(Line("colour", player));
}

}  // namespace kelvra
