// The dialog as a screen reader user meets it, read through AT-SPI from the
// real program: every state's headline, details, buttons and bar; names and
// descriptions that say what each part is; the buttons pressed through their
// accessible action; and a change of state announced as a change of name.
import assert from "node:assert/strict";
import { isDeepStrictEqual } from "node:util";
import { after, before, describe, test } from "node:test";

import { waitFor } from "./lib/dialog.mjs";
import { AccessibilityReader, accessibilityUnavailable, dialogLook, findNode } from "./lib/accessibility.mjs";
import { installRequest, offer, useSession } from "./lib/session.mjs";

// Qt's own switch: export the tree whatever the desktop's setting says.
process.env.QT_LINUX_ACCESSIBILITY_ALWAYS_ON = "1";
process.env.QT_QPA_PLATFORM = "xcb";

const session = useSession();
let reader;
let unavailable = accessibilityUnavailable();

before(async () => {
  if (unavailable) return;
  try {
    reader = await AccessibilityReader.start();
  } catch (error) {
    unavailable = error.message;
  }
});
after(() => reader?.stop());

const readerTest = (name, body) =>
  test(name, async (t) => {
    if (unavailable) return t.skip(`AT-SPI cannot run here: ${unavailable}`);
    await body(t);
  });

// Waits until the dialog reads as `expected`; fails showing what it read last.
async function expectLook(dialog, expected) {
  let last;
  try {
    await waitFor("the expected look", async () => {
      if (!dialog.running) throw new Error(`the dialog ended: ${JSON.stringify(dialog.exitStatus)}`);
      last = dialogLook(await reader.tree(dialog.process.pid));
      return isDeepStrictEqual(last, expected);
    }, { intervalMs: 100 });
  } catch (error) {
    assert.deepEqual(last, expected, error.message);
  }
}

async function press(dialog, button) {
  assert.equal(await reader.press(dialog.process.pid, button), true, `"${button}" pressed`);
  const result = await dialog.waitForExit();
  assert.equal(result.status, 0);
  return result;
}

const checking = "Checking for updates…";
const plainDetails = "Tessary 1.2.3";
const offerDetails =
  "Your conversations and drafts will be restored when Tessary reopens. Active turns controlled by Tessary " +
  "may be interrupted; other agents keep working.";
const look = (headline, details, { buttons = ["Close"], bar = null } = {}) => ({
  shown: true,
  headline,
  details,
  buttons,
  bar,
});
const offerLook = look("Tessary 2.0.0 is available", offerDetails, { buttons: ["Install & Relaunch", "Later"] });
const failedLook = (details) => look("Tessary couldn’t update", details);

// Each state as the host application writes it, and what a screen reader reads.
const states = [
  ["no status file yet", undefined, look(checking, plainDetails, { bar: "busy" })],
  ["checking", { state: "checking" }, look(checking, plainDetails, { bar: "busy" })],
  [
    "up-to-date, whose message is replaced",
    { state: "up-to-date", message: "not shown" },
    look("Tessary is up to date", "You’re running Tessary 1.2.3. No newer release is available."),
  ],
  ["available", { ...offer, progress: 30 }, offerLook],
  ["waiting-for-agents", { state: "waiting-for-agents", latest: "2.0.0" }, offerLook],
  [
    "downloading with byte counts and a percentage",
    { state: "downloading", latest: "2.0.0", downloaded: 1_500_000, total: 3_000_000, progress: 25 },
    look("Downloading Tessary 2.0.0…", "1.5 MB of 3 MB", { bar: 25 }),
  ],
  [
    "downloading without counts or percentage",
    { state: "downloading", latest: "2.0.0", message: "not shown" },
    look("Downloading Tessary 2.0.0…", "You can keep using Tessary while the update downloads.", { bar: "busy" }),
  ],
  [
    "downloading below 0 %, without a version",
    { state: "downloading", progress: -10 },
    look("Downloading Tessary …", "You can keep using Tessary while the update downloads.", { bar: 0 }),
  ],
  [
    "verifying with a message",
    { state: "verifying", message: "Checking the signature", progress: 62.5 },
    look("Verifying the update…", "Checking the signature", { bar: 62.5 }),
  ],
  ["extracting", { state: "extracting" }, look("Preparing the update…", plainDetails, { bar: "busy" })],
  [
    "installing above 100 %",
    { state: "installing", progress: 250 },
    look("Installing and relaunching Tessary…", plainDetails, { bar: 100 }),
  ],
  ["updated", { state: "updated", progress: 100 }, look("Tessary is updated", plainDetails)],
  ["error with a message", { state: "error", message: "The download failed." }, failedLook("The download failed.")],
  ["release-unavailable", { state: "release-unavailable" }, failedLook(plainDetails)],
  ["recovery-required", { state: "recovery-required" }, failedLook(plainDetails)],
  ["a state outside the table", { state: "Available", latest: "2.0.0" }, look(checking, plainDetails)],
];

describe("every state, read through AT-SPI", () => {
  for (const [name, status, expected] of states) {
    readerTest(name, async () => {
      const dialog = session.start({ status });
      await expectLook(dialog, expected);
      // The last button added is "Later" on an offer, "Close" otherwise: neither installs.
      const result = await press(dialog, expected.buttons.at(-1));
      assert.equal(result.stdout.toString(), "");
    });
  }
});

describe("what a screen reader says about each part", () => {
  readerTest("the icon has a name, and each text says what it is", async () => {
    const dialog = session.start({ status: offer });
    await expectLook(dialog, offerLook);
    const tree = await reader.tree(dialog.process.pid);
    const part = (node) => node && { role: node.role, name: node.name, description: node.description };
    const expectedParts = [
      [findNode(tree, "dialog"), { role: "dialog", name: "Tessary Update", description: "" }],
      [findNode(tree, "image"), { role: "image", name: "Tessary", description: "Application icon" }],
      [
        findNode(tree, "label", offerLook.headline),
        { role: "label", name: offerLook.headline, description: "Update status" },
      ],
      [findNode(tree, "label", offerDetails), { role: "label", name: offerDetails, description: "Details" }],
    ];
    for (const [node, expected] of expectedParts) assert.deepEqual(part(node), expected);
    for (const name of offerLook.buttons) {
      assert.ok(findNode(tree, "push button", name).actions.includes("Press"), `"${name}" can be pressed`);
    }
    await press(dialog, "Later");
  });

  readerTest("the bar says what it measures", async () => {
    const dialog = session.start({ status: { state: "downloading", latest: "2.0.0", progress: 40 } });
    const bar = await waitFor("the bar", async () => {
      const tree = await reader.tree(dialog.process.pid);
      return tree && findNode(tree, "progress bar");
    });
    assert.equal(bar.name, "Update progress");
    await press(dialog, "Close");
  });
});

describe("pressing and following through AT-SPI", () => {
  readerTest("Install & Relaunch pressed through its action sends the install request", async () => {
    const dialog = session.start({ status: offer });
    await expectLook(dialog, offerLook);
    const result = await press(dialog, "Install & Relaunch");
    assert.equal(result.stdout.toString(), installRequest);
    assert.equal(result.stdout.length, 21);
    assert.equal(result.stderr.toString(), "");
  });

  readerTest("a new state is announced as a new name of the headline, and the texts follow the file", async () => {
    const dialog = session.start({ status: { state: "checking" } });
    await expectLook(dialog, look(checking, plainDetails, { bar: "busy" }));
    const pid = dialog.process.pid;
    const announced = (headline) =>
      reader.waitForEvent(`"${headline}" announced`, pid, (event) =>
        event.event === "object:property-change:accessible-name" &&
        event.source.role === "label" &&
        event.source.description === "Update status" &&
        event.source.name === headline,
      );

    dialog.writeStatus(offer);
    await announced(offerLook.headline);
    await expectLook(dialog, offerLook);

    dialog.writeStatus({ state: "downloading", latest: "2.0.0", progress: 40 });
    await announced("Downloading Tessary 2.0.0…");
    // "Later" stays once an offer has been shown.
    const downloading = look("Downloading Tessary 2.0.0…", "You can keep using Tessary while the update downloads.", {
      buttons: ["Close", "Later"],
      bar: 40,
    });
    await expectLook(dialog, downloading);

    dialog.writeStatus(offer);
    await expectLook(dialog, offerLook);
    const result = await press(dialog, "Install & Relaunch");
    assert.equal(result.stdout.toString(), installRequest);
  });
});
