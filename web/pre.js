// SPDX-License-Identifier: MIT
// Runs inside the game's module before it starts. The page is the game's
// display: the start-up check that one is named finds it here.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  if (typeof ENV !== 'undefined') ENV['DISPLAY'] = 'browser-page';
});
