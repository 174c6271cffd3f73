#pragma once

// The program's build number: logged at start-up, sent with the version
// check, the manual's address and bug reports.
namespace BuildInfo {
constexpr int buildNumber = 288;
}
