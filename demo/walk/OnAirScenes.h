// The walk's pictures of both pages with a turn show on air (demo-walk --on-air, run by
// scripts/on-air-shots.sh): the X86 wall with a window turning, one holding a fixed source and
// one with a second turn show; the X86 page waiting for a login the matrix does not answer; a
// Linux cell turning through six channels.
#pragma once

#include <QString>

class DemoHost;
class DemoMainWindow;
class WalkRunner;

namespace OnAirScenes {

// What another operator left on the matrices before the page connects: an X86 wall of 2 x 2
// with its turn shows and a Linux wall of 1 x 2 whose first cell holds six channels of the
// site, and a server record for each. False with *error when a matrix refused a step.
bool prepareMatrices(DemoHost *host, QString *error);

// The steps that connect the pages and take the pictures x86-turn-show, x86-login-wait and
// linux-turn-show.
void addSteps(WalkRunner *walk, DemoMainWindow *window, DemoHost *host);

} // namespace OnAirScenes
