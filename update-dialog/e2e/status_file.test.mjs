// The dialog follows the status file as it changes, and only a fresh, whole
// file changes what is on screen.
import assert from "node:assert/strict";
import { writeFileSync } from "node:fs";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { secondsNow } from "./lib/status_file.mjs";
import { installRequest, offer, useSession } from "./lib/session.mjs";

const session = useSession();

// A few ticks of the 0.25-second poll: long enough for any reading to show.
const severalTicks = () => sleep(1500);

const buttonCount = async (dialog) => (await dialog.buttons()).length;

describe("reading the status file", () => {
  test("a file that appears after the start is shown at the next tick", async () => {
    const dialog = session.start();
    await dialog.window();
    assert.equal(await buttonCount(dialog), 1);
    dialog.writeStatus(offer);
    await waitFor("the offer", async () => (await buttonCount(dialog)) === 2, { timeoutMs: 3000 });
    await dialog.clickButton(0);
    assert.equal((await dialog.waitForExit()).stdout.toString(), installRequest);
  });

  test("a stale file keeps the initial look, and Return still closes", async () => {
    const minimumTime = secondsNow();
    const dialog = session.start({ status: { ...offer, checkedAt: minimumTime - 60 }, minimumTime });
    await dialog.window();
    await severalTicks();
    assert.equal(await buttonCount(dialog), 1);
    await dialog.key("Return");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stdout.toString(), "");
  });

  const unusable = [
    ["half a file", "{\"checkedAt\": 1e12, \"state\": \"up-"],
    ["an empty file", ""],
    ["a file without a state", "{\"checkedAt\": 1e12}"],
  ];
  for (const [name, content] of unusable) {
    test(`an offer stays on screen, and can be taken, after ${name}`, async () => {
      const dialog = session.start({ status: offer });
      await dialog.window();
      await waitFor("the offer", async () => (await buttonCount(dialog)) === 2);
      writeFileSync(dialog.statusPath, content);
      await severalTicks();
      await dialog.clickButton(0);
      assert.equal((await dialog.waitForExit()).stdout.toString(), installRequest);
    });
  }
});
