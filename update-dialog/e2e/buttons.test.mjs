// What comes back from each way of closing the dialog: the install request
// only when "Install & Relaunch" is pressed on an offer.
import assert from "node:assert/strict";
import { describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { installRequest, offer, useSession } from "./lib/session.mjs";

const session = useSession();

const offerShown = (dialog) => waitFor("the offer", async () => (await dialog.buttons()).length === 2);

const cases = [
  {
    name: "Return on the initial dialog presses Close",
    status: undefined,
    act: (dialog) => dialog.key("Return"),
    output: "",
  },
  {
    name: "Install & Relaunch on an offer",
    status: offer,
    act: (dialog) => dialog.clickButton(0),
    output: installRequest,
  },
  {
    name: "Later on an offer",
    status: offer,
    act: (dialog) => dialog.clickButton(1),
    output: "",
  },
  {
    name: "Escape on an offer",
    status: offer,
    act: (dialog) => dialog.key("Escape"),
    output: "",
  },
  {
    name: "Close after the offer was withdrawn",
    status: offer,
    act: async (dialog) => {
      dialog.writeStatus({ state: "installing" });
      await sleep(1000);
      await dialog.clickButton(0);
    },
    output: "",
  },
];

describe("closing the dialog", () => {
  for (const { name, status, act, output } of cases) {
    test(name, async () => {
      const dialog = session.start({ status });
      await dialog.window();
      if (status) await offerShown(dialog);
      await act(dialog);
      const result = await dialog.waitForExit();
      assert.equal(result.status, 0);
      assert.equal(result.stdout.toString(), output);
      assert.equal(result.stderr.toString(), "");
    });
  }

  // The keyboard focus never rests on "Install & Relaunch" unless the user
  // put it there: a stray Space presses "Later" instead.
  const spaceCases = [
    { name: "an offer shown from the first frame", atStart: true },
    { name: "an offer that replaces the checking dialog", atStart: false },
  ];
  for (const { name, atStart } of spaceCases) {
    test(`Space on ${name} confirms nothing`, async () => {
      const dialog = session.start({ status: atStart ? offer : { state: "checking" } });
      await dialog.window();
      if (!atStart) dialog.writeStatus(offer);
      await offerShown(dialog);
      await dialog.key("space");
      await sleep(500);
      if (dialog.running) await dialog.key("Escape");
      const result = await dialog.waitForExit();
      assert.equal(result.stdout.toString(), "", "a stray Space confirmed the install");
    });
  }

  test("Tab to Install & Relaunch, a moment, then Space: the user's choice, confirmed", async () => {
    const dialog = session.start({ status: offer });
    await dialog.window();
    await offerShown(dialog);
    await dialog.key("Tab");
    await sleep(1000); // several refresh passes of the same offer leave the focus where the user put it
    await dialog.key("space");
    const result = await dialog.waitForExit();
    assert.equal(result.stdout.toString(), installRequest);
  });

  test("Return on an offer presses nothing; the offer stays", async () => {
    const dialog = session.start({ status: offer });
    await dialog.window();
    await offerShown(dialog);
    await dialog.key("Return");
    await dialog.key("KP_Enter");
    await sleep(1000);
    assert.ok(dialog.running, "Return must not end the dialog while an install is offered");
    assert.equal((await dialog.buttons()).length, 2);
    await dialog.clickButton(0);
    const result = await dialog.waitForExit();
    assert.equal(result.stdout.toString(), installRequest);
  });
});
