// Between the game's globals and a replay's start and checks.
#include "replay/game_values.h"
#include "replay/check_line.h"
#include "audio/audio.h"
#include "common/checksum.h"
#include "common/files.h"
#include "common/random.h"
#include "common/version.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/items.h"
#include "state/game_state.h"
#include "state/screen_state.h"
#include <cstring>
#include <vector>

namespace {
// The low 32 bits, little-endian, as the files' numbers are written.
void appendValue(std::vector<uint8_t> &bytes, int64_t value) {
  bytes.resize(bytes.size() + 4);
  writeLe32(bytes.data() + bytes.size() - 4, static_cast<uint32_t>(value));
}

} // namespace

// What moves, what decides where it goes, and the sound settings the keys
// change, as a checksum: the playfield's cells alone miss an enemy that went
// another way, a player on the border, or a tune key that acted.
uint32_t stateChecksum(uint32_t whites) {
  std::vector<uint8_t> bytes;
  appendValue(bytes, gameRandState());
  for (int64_t v : {timeBonus, musicNumber, lastMusicNumber, musicVolume, effectsVolume}) {
    appendValue(bytes, v);
  }
  for (int64_t v : {playerBox.x, playerBox.y, playerDx, playerDy, int32_t(playerMoving)}) {
    appendValue(bytes, v);
  }
  for (uint32_t i = 0; i < whites && i < MAX_WHITE_ENEMIES; ++i) {
    const Enemy &e = whiteEnemies[i];
    for (int64_t v : {e.box.x, e.box.y, e.direction}) {
      appendValue(bytes, v);
    }
  }
  const uint32_t blacks = blackEnemyCount < MAX_BLACK_ENEMIES ? blackEnemyCount : MAX_BLACK_ENEMIES;
  for (uint32_t i = 0; i < blacks; ++i) {
    const Enemy &e = blackEnemies[i];
    for (int64_t v : {e.box.x, e.box.y, e.direction}) {
      appendValue(bytes, v);
    }
  }
  for (const BonusItem &item : bonusItems) {
    for (int64_t v : {int32_t(item.active), item.kind, item.box.x, item.box.y}) {
      appendValue(bytes, v);
    }
  }
  return crc32(bytes.data(), bytes.size());
}

ReplayStart currentReplayStart() {
  ReplayStart s;
  s.program = PROGRAM_VERSION;
  s.seed = gameRandState();
  s.level = level;
  s.lives = lives;
  s.totalScore = totalScore;
  s.gameId = gameId;
  s.gameLoaded = gameLoaded;
  s.keyLatch = keyLatch;
  s.musicNumber = musicNumber;
  s.lastMusicNumber = lastMusicNumber;
  s.musicVolume = musicVolume;
  s.effectsVolume = effectsVolume;
  s.volumeKeyHeld = volumeKeyHeld;
  s.volumeDisplayFrames = volumeDisplayFrames;
  s.volumeDisplayWhich = volumeDisplayWhich;
  for (int i = 0; i < TOP_TEN_SIZE; ++i) {
    const TopTenEntry &row = topTenFileTable[i];
    s.topTen[i] = TopTenRow{row.score, row.level, row.gameId};
  }
  return s;
}

void applyReplayStart(const ReplayStart &s) {
  level = s.level;
  lives = s.lives;
  totalScore = s.totalScore;
  gameId = s.gameId;
  gameLoaded = s.gameLoaded;
  gameSaved = 0;
  musicNumber = s.musicNumber;
  lastMusicNumber = s.lastMusicNumber;
  musicVolume = s.musicVolume;
  effectsVolume = s.effectsVolume;
  applyMusicVolume();
  applyEffectsVolume();
  volumeKeyHeld = s.volumeKeyHeld;
  volumeDisplayFrames = s.volumeDisplayFrames;
  volumeDisplayWhich = s.volumeDisplayWhich;
  // The rank test reads score, level and game id; names are not part of a game.
  for (int i = 0; i < TOP_TEN_SIZE; ++i) {
    TopTenEntry &row = topTenFileTable[i];
    row.score = s.topTen[i].score;
    row.level = s.topTen[i].level;
    row.gameId = s.topTen[i].gameId;
    std::memcpy(row.name, EMPTY_NAME, sizeof row.name);
  }
  copyTopTen(true);
  gameSrand(s.seed);
  screenState = Game;
  screenEntryPending = 1;
  keyLatch = s.keyLatch;
}

ReplayCheck currentCheck(uint64_t frame, uint32_t whites) {
  ReplayCheck c;
  c.frame = frame;
  for (size_t i = 0; i < CHECK_FIELD_COUNT; ++i) {
    CHECK_FIELDS[i].set(c, CHECK_FIELDS[i].current(whites));
  }
  return c;
}
