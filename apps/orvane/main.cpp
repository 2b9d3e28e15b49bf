// orvane: the editor and remote control of the KVS7304 audio matrix processor.

#include "ui/main/OrvaneApp.h"

int main(int argc, char** argv) {
  return orvane::ui::OrvaneApp::run(argc, argv);
}
