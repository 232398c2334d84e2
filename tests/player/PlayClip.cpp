// Plays one file to its end with the player component and prints what the
// benchmark compares: pictures shown, shown late and skipped as late.
// Usage: player_play_clip FILE (SDL's drivers come from the environment).
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "player/FFPlayer.h"

int main(int argc, char** argv) {
  using namespace trovenix;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  TFFPlayer player;
  if (!player.LoadLibraries("")) {
    std::fprintf(stderr, "%s\n", player.LastError().c_str());
    return 1;
  }
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;
  player.OnState = [&](TCustomPlayer&, TPlayState state) {
    if (state != TPlayState::psEnd && state != TPlayState::psStop) return;
    std::lock_guard guard(lock);
    done = true;
    ended.notify_all();
  };
  if (!player.Open(argv[1], 0)) {
    std::fprintf(stderr, "%s\n", player.LastError().c_str());
    return 1;
  }
  {
    std::unique_lock guard(lock);
    ended.wait_for(guard, std::chrono::minutes(10), [&] { return done; });
  }
  player.Close(true);
  std::printf("shown %d late %d skipped %d\n", player.PicturesShown(), player.PicturesLate(),
              player.PicturesSkipped());
  return 0;
}
