#pragma once

class Player;
class QObject;

// Channel players kept between the screens that use them. A full-screen round trip lets go of
// the window player's four players and then needs four again; each new player would start a
// libmpv instance and its render context (tens of milliseconds each, on the main thread). A
// player given back is emptied, shown by no view and set back to a new player's settings;
// at most kMaxIdle wait, the rest are deleted. Main thread.
namespace PlayerPool {

constexpr int kMaxIdle = 5;

// A waiting player, or a new one, owned by `parent`.
Player* take(QObject* parent);
// Keeps `player` for a later take() (or deletes it when enough wait).
void giveBack(Player* player);
// How many players wait.
int idleCount();

} // namespace PlayerPool
