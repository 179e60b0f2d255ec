// A short command line ends at once with status 2, showing and writing
// nothing, and needs no display at all.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { test } from "node:test";

import { dialogBinary } from "./lib/dialog.mjs";

const shortCommandLines = [[], ["status.json"], ["status.json", "1.2.3"], ["status.json", "1.2.3", "icon.png"]];

for (const args of shortCommandLines) {
  test(`${args.length} argument(s): exit status 2, nothing written, no display needed`, () => {
    const env = { ...process.env };
    delete env.DISPLAY;
    delete env.WAYLAND_DISPLAY;
    const result = spawnSync(dialogBinary(), args, { env, timeout: 10000 });
    assert.equal(result.status, 2);
    assert.equal(result.stdout.length, 0);
    assert.equal(result.stderr.length, 0);
  });
}
