// SPDX-License-Identifier: MIT
// The page around the browser build of Pelta 2.0: the one-tab guard, the
// player's files in the browser's storage, sound after the first gesture,
// the full screen, screenshots and replays to download, a replay to watch.
'use strict';

const USER = '/pelta/user';
const WATCHED = '/pelta/watch.replay';
const line = document.getElementById('line');
const canvas = document.getElementById('canvas');
const page = {
  started: false,
  ended: false,
  verdict: '',
  errors: [],
  storage: 'loading',
  soundStarted: false,
  screenshots: [],
  log: [], // what the game said on stderr
};
window.peltaPage = page;

// One line at the bottom tells what the player should know now; an alarm
// (storage refused, another tab) stays until something more urgent comes.
let alarm = false;
function tell(text, isAlarm) {
  if (alarm && !isAlarm) return;
  alarm = !!isAlarm;
  line.textContent = text;
  line.className = isAlarm ? 'alarm' : '';
}

// ---- sound: the effects on Web Audio, the tunes through chiptune3 ----
const audio = {
  context: null,
  effects: null,
  music: null,
  channels: [],
  samples: new Map(),
  tunes: new Map(),
  nextId: 1,
  player: null,
  playerReady: false,
  wanted: 0, // the tune that should sound, 0 for none
  started: 0, // effects started, for the page's report
  tunePosition: 0,
  open(channels) {
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return false;
    this.context = new Context();
    this.effects = this.context.createGain();
    this.music = this.context.createGain();
    this.effects.connect(this.context.destination);
    this.music.connect(this.context.destination);
    this.channels = Array.from({ length: channels }, () => ({ source: null, gain: null }));
    import('./chiptune3/chiptune3.js').then((m) => {
      this.player = new m.ChiptuneJsPlayer({ context: this.context, repeatCount: -1 });
      this.player.gain.connect(this.music);
      this.player.onInitialized(() => {
        this.playerReady = true;
        if (this.wanted) this.playTune(this.wanted);
      });
      this.player.onProgress((p) => { this.tunePosition = p.pos; });
      this.player.onError((e) => page.errors.push('tune: ' + e.type));
    }).catch((e) => page.errors.push('chiptune3: ' + e));
    return true;
  },
  close() {
    if (this.player) this.player.stop();
    if (this.context) this.context.close();
    this.context = null;
  },
  loadSample(data, frames, channels, rate) {
    const buffer = this.context.createBuffer(channels, frames, rate);
    for (let c = 0; c < channels; ++c) {
      const out = buffer.getChannelData(c);
      for (let i = 0; i < frames; ++i) out[i] = data[i * channels + c];
    }
    const id = this.nextId++;
    this.samples.set(id, buffer);
    return id;
  },
  freeSample(id) { this.samples.delete(id); },
  stop(channel) {
    const ch = this.channels[channel];
    if (ch && ch.source) {
      ch.source.onended = null;
      try { ch.source.stop(); } catch (e) { /* never started */ }
      ch.source.disconnect();
      ch.source = null;
    }
  },
  play(channel, id, rate, volume, loop) {
    const buffer = this.samples.get(id);
    const ch = this.channels[channel];
    if (!buffer || !ch) return false;
    this.stop(channel);
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.loop = loop;
    if (rate > 0) source.playbackRate.value = rate / buffer.sampleRate;
    if (!ch.gain) {
      ch.gain = this.context.createGain();
      ch.gain.connect(this.effects);
    }
    ch.gain.gain.value = volume;
    source.connect(ch.gain);
    source.onended = () => { if (ch.source === source) ch.source = null; };
    source.start();
    ch.source = source;
    this.started++;
    return true;
  },
  playing(channel) { const ch = this.channels[channel]; return !!(ch && ch.source); },
  loadTune(bytes) { const id = this.nextId++; this.tunes.set(id, bytes); return id; },
  playTune(id) {
    this.wanted = id;
    const bytes = this.tunes.get(id);
    if (this.playerReady && bytes) this.player.play(bytes.slice(0));
  },
  stopTune(id) {
    if (this.wanted !== id) return;
    this.wanted = 0;
    if (this.playerReady) this.player.stop();
  },
  freeTune(id) { this.stopTune(id); this.tunes.delete(id); },
  gains(effects, music) {
    if (!this.context) return;
    this.effects.gain.value = effects;
    this.music.gain.value = music;
  },
  paused: false, // by the game: its tab hidden or the focus lost
  pause(paused) {
    this.paused = paused;
    if (!this.context) return;
    if (paused) this.context.suspend();
    else if (page.soundStarted) this.context.resume();
  },
  report() {
    return {
      state: this.context ? this.context.state : 'none',
      tuneReady: this.playerReady,
      tune: this.wanted,
      tunePosition: this.tunePosition,
      effectsStarted: this.started,
      samples: this.samples.size,
      tunes: this.tunes.size,
    };
  },
};

// Browsers let a page sound only after a gesture, and not every key is one
// (Shift or Ctrl alone is not): each gesture tries until the sound runs.
function startSound() {
  if (audio.context && audio.context.state === 'suspended' && !audio.paused && document.hasFocus()) {
    audio.context.resume();
  }
  if (page.soundStarted) return;
  page.soundStarted = true;
  if (!alarm && page.started) tell('Pelta 2.0');
}
for (const kind of ['keydown', 'pointerdown']) window.addEventListener(kind, startSound, true);
for (const kind of ['keydown', 'keyup', 'pointerdown']) {
  window.addEventListener(kind, (e) => {
    if (e.getModifierState) Module.peltaCapsLock = e.getModifierState('CapsLock');
  }, true);
}

// ---- the full screen ----
function toggleFullScreen() {
  const stage = document.getElementById('stage');
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => tell('The browser refused the full screen.'));
}
document.getElementById('full').addEventListener('click', () => { toggleFullScreen(); canvas.focus(); });

// ---- the player's files: IndexedDB through IDBFS ----
let syncing = false;
let dirty = false;
// Every change under the user folder is written to the browser's storage
// soon after; a failure is told and the stored files stay as they were.
function persist() {
  if (syncing || !dirty || page.storage === 'memory') return;
  syncing = true;
  dirty = false;
  Module.FS.syncfs(false, (err) => {
    syncing = false;
    if (err) {
      page.storage = 'refused';
      tell('The browser refused to store the game\'s files (storage full or blocked): ' +
           'what was stored before is kept, new scores may not be.', true);
    } else {
      page.storage = 'stored';
    }
    if (dirty) setTimeout(persist, 100);
  });
}
// Nothing of the player's is waiting to be stored.
page.stored = () => !syncing && !dirty;

function markDirty(path) {
  if (typeof path === 'string' && path.startsWith(USER)) {
    dirty = true;
    setTimeout(persist, 50);
    if (path.startsWith(USER + '/screenshots/')) setTimeout(deliverScreenshots, 0);
  }
}

// Watches the calls that change files: a replaced file is renamed into place.
function watchFileChanges(FS) {
  for (const name of ['rename', 'unlink', 'rmdir', 'mkdir']) {
    const plain = FS[name];
    FS[name] = function (path, ...rest) {
      const result = plain.call(FS, path, ...rest);
      markDirty(name === 'rename' ? rest[0] : path);
      return result;
    };
  }
  const close = FS.close;
  FS.close = function (stream) {
    const path = stream && stream.path;
    const written = stream && (stream.flags & 3) !== 0;
    const result = close.call(FS, stream);
    if (written) markDirty(path);
    return result;
  };
}

function download(name, bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// Ctrl+P: the picture goes to the browser's downloads, not the storage.
function deliverScreenshots() {
  const FS = Module.FS;
  const folder = USER + '/screenshots';
  let names = [];
  try { names = FS.readdir(folder).filter((n) => n.endsWith('.bmp')); } catch (e) { return; }
  for (const name of names) {
    const path = folder + '/' + name;
    const bytes = FS.readFile(path);
    page.screenshots.push({ name, size: bytes.length });
    download(name, bytes, 'image/bmp');
    FS.unlink(path);
  }
}

// ---- replays: the last ones to download, one to watch ----
const replayList = document.getElementById('replays');
document.getElementById('list').addEventListener('click', () => {
  if (replayList.style.display === 'block') { replayList.style.display = 'none'; return; }
  replayList.textContent = '';
  let names = [];
  try { names = Module.FS.readdir(USER + '/replays').filter((n) => n.endsWith('.replay')); } catch (e) { /* none yet */ }
  names.sort().reverse();
  if (names.length === 0) replayList.textContent = 'No replay yet: every game played is recorded.';
  for (const name of names.slice(0, 10)) {
    const a = document.createElement('a');
    a.href = '#';
    a.textContent = name;
    a.addEventListener('click', (e) => {
      e.preventDefault();
      download(name, Module.FS.readFile(USER + '/replays/' + name), 'text/plain');
    });
    replayList.appendChild(a);
  }
  replayList.style.display = 'block';
});

// A replay is watched by starting the page again with it, as
// `pelta --replay FILE` starts the program.
function watch(file) {
  file.text().then((text) => {
    try {
      sessionStorage.setItem('pelta-watch', text);
    } catch (e) {
      tell('This replay is too large to pass on.', true);
      return;
    }
    location.search = '?watch';
  });
}
document.getElementById('open').addEventListener('change', (e) => { if (e.target.files[0]) watch(e.target.files[0]); });
const drop = document.getElementById('drop');
window.addEventListener('dragover', (e) => { e.preventDefault(); drop.style.display = 'flex'; });
window.addEventListener('dragleave', () => { drop.style.display = 'none'; });
window.addEventListener('drop', (e) => {
  e.preventDefault();
  drop.style.display = 'none';
  if (e.dataTransfer.files[0]) watch(e.dataTransfer.files[0]);
});

// ---- the game's module ----
const params = new URLSearchParams(location.search);
const watched = params.has('watch') ? sessionStorage.getItem('pelta-watch') : null;
const args = ['--data-dir', '/pelta/data', '--user-dir', USER];
if (watched !== null) args.push('--replay', WATCHED);
if (params.has('stats')) args.push('--frame-stats');
if (params.get('row')) args.push(params.get('row'));

var Module = {
  canvas,
  arguments: args,
  peltaAudio: audio,
  peltaOwnsLock: true,
  peltaCapsLock: false,
  peltaToggleFullScreen: toggleFullScreen,
  print(text) { console.log(text); },
  printErr(text) {
    page.log.push(text);
    const verdict = /^pelta: (replay (verified|differs|stopped).*)$/.exec(text);
    if (verdict) {
      page.verdict = verdict[1];
      tell(verdict[1], !verdict[1].startsWith('replay verified'));
    } else {
      console.warn(text);
    }
  },
  peltaTell(kind, text) {
    if (kind === 'started') {
      page.started = true;
      if (watched !== null) tell('Watching a replay: Escape stops it.');
      else if (!page.soundStarted) tell('Sound starts with your first key press or click.');
      else tell('Pelta 2.0');
      canvas.focus();
    } else if (kind === 'ended') {
      page.ended = true;
      persist();
      if (!page.verdict) tell('Pelta 2.0 has ended. Reload the page to play again.');
    } else if (kind === 'elsewhere' || kind === 'error') {
      tell(text, true);
    }
  },
  preRun: [function () {
    const FS = Module.FS;
    FS.mkdirTree(USER);
    if (watched !== null) FS.writeFile(WATCHED, watched);
    try {
      FS.mount(FS.filesystems.IDBFS, {}, USER);
    } catch (e) {
      page.storage = 'memory';
    }
    Module.addRunDependency('player-files');
    FS.syncfs(true, (err) => {
      if (err) {
        page.storage = 'memory';
        tell('The browser keeps no files for this page: scores last until it is closed.', true);
      } else {
        page.storage = 'stored';
      }
      watchFileChanges(FS);
      Module.removeRunDependency('player-files');
    });
  }],
};
window.Module = Module;

// A tab hidden may be closed without another word: what waits is stored now,
// while the page still runs (the write started at pagehide may not finish).
document.addEventListener('visibilitychange', () => {
  if (document.visibilityState === 'hidden') persist();
});
window.addEventListener('pagehide', () => {
  if (page.started && !page.ended && Module._peltaPageClosing) Module._peltaPageClosing();
  persist();
});

function startGame() {
  const script = document.createElement('script');
  script.src = 'pelta.js';
  script.onerror = () => tell('The game could not be loaded.', true);
  document.body.appendChild(script);
}

// One tab plays; another one is told, and may take over once the first closes.
if (navigator.locks && navigator.locks.request) {
  navigator.locks.request('Pelta 2.0', { ifAvailable: true }, (lock) => {
    if (!lock) {
      Module.peltaOwnsLock = false;
      page.elsewhere = true;
      tell('Pelta 2.0 is already open in another tab or window of this browser.', true);
      return undefined;
    }
    startGame();
    return new Promise(() => {}); // held while the page lives
  });
} else {
  startGame();
}
