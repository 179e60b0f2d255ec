// The dialog in a Wayland session, on a headless sway: it runs natively even
// with an X display at hand, answers keys as on X11, and the focus signal asks
// the compositor to activate it, which gives it the focus or marks it urgent
// as the compositor's policy says.
import assert from "node:assert/strict";
import { after, before, describe, test } from "node:test";
import { setTimeout as sleep } from "node:timers/promises";

import { waitFor } from "./lib/dialog.mjs";
import { installRequest, offer, useSession } from "./lib/session.mjs";
import { startSway, swayUnavailable } from "./lib/sway.mjs";

const session = useSession();
let sway;
let unavailable = swayUnavailable();

before(async () => {
  if (unavailable) return;
  try {
    sway = await startSway();
  } catch (error) {
    unavailable = error.message;
    return;
  }
  // Dialogs started from here on find the compositor as in a Wayland session,
  // and an X display as well (the session's Xvfb): Qt picks by itself.
  Object.assign(process.env, sway.clientEnv);
  delete process.env.QT_QPA_PLATFORM;
});
after(() => sway?.stop());

// Each test skips, with the reason, where no compositor could be started.
const waylandTest = (name, body) =>
  test(name, async (t) => {
    if (unavailable) return t.skip(`headless sway cannot run here: ${unavailable}`);
    await body(t);
  });

const viewOf = (dialog) => sway.viewOf(dialog.process.pid);

// Runs `start` with extra variables in the environment that dialogs inherit.
function withEnv(variables, start) {
  const saved = Object.fromEntries(Object.keys(variables).map((name) => [name, process.env[name]]));
  Object.assign(process.env, variables);
  try {
    return start();
  } finally {
    for (const [name, value] of Object.entries(saved)) {
      if (value === undefined) delete process.env[name];
      else process.env[name] = value;
    }
  }
}

async function shownAndFocused(dialog) {
  return waitFor("the dialog mapped and focused", () => {
    if (!dialog.running) throw new Error(`the dialog ended early: ${JSON.stringify(dialog.exitStatus)}`);
    const view = viewOf(dialog);
    return view?.focused ? view : undefined;
  });
}

describe("in a Wayland session", () => {
  waylandTest("the dialog runs natively, though an X display is at hand too", async () => {
    const dialog = session.start({ status: offer });
    const view = await shownAndFocused(dialog);
    assert.equal(view.shell, "xdg_shell");
    assert.equal(view.app_id, "tessary-update");
    assert.equal(view.name, "Tessary Update");
    sway.type("Escape");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stdout.toString(), "");
    assert.equal(result.stderr.toString(), "", "Qt's messages stay off stderr on Wayland too");
  });

  const keyCases = [
    { name: "Escape on an offer closes without a request", status: offer, keys: [["Escape"]], output: "" },
    // The keyboard focus starts on Later: a stray space confirms nothing.
    { name: "space on an offer presses Later, which has the keyboard focus", status: offer, keys: [["space"]], output: "" },
    { name: "Tab to Install & Relaunch, then space, installs", status: offer, keys: [["Tab"], ["space"]], output: installRequest },
    { name: "Return on the initial dialog presses Close", status: undefined, keys: [["Return"]], output: "" },
    {
      name: "Return on an offer presses nothing; Tab and space then install",
      status: offer,
      keys: [["Return"], ["KP_Enter"], ["Tab"], ["space"]],
      output: installRequest,
    },
  ];
  for (const { name, status, keys, output } of keyCases) {
    waylandTest(`keys: ${name}`, async () => {
      const dialog = session.start({ status });
      await shownAndFocused(dialog);
      for (const key of keys) {
        assert.ok(dialog.running, `the dialog ended before ${key.join("+")}`);
        sway.type(...key);
        await sleep(300);
      }
      const result = await dialog.waitForExit();
      assert.equal(result.status, 0);
      assert.equal(result.stdout.toString(), output);
    });
  }
});

describe("the focus signal in a Wayland session", () => {
  // Starts the dialog with an offer, then another window that takes the focus
  // from it.
  async function dialogBehindAnother(policy) {
    sway.swaymsg("focus_on_window_activation", policy);
    const dialog = session.start({ status: offer });
    await shownAndFocused(dialog);
    const other = session.start({ installed: "another window" });
    await shownAndFocused(other);
    assert.equal(viewOf(dialog).focused, false);
    return { dialog, other };
  }

  waylandTest("with the policy `focus`, one signal gives the dialog the keyboard focus", async () => {
    const { dialog } = await dialogBehindAnother("focus");
    dialog.process.kill("SIGUSR1");
    await shownAndFocused(dialog);
    // The dialog itself has the keyboard now, not just sway's marker.
    sway.type("Escape");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stdout.toString(), "");
  });

  waylandTest("with sway's default policy `urgent`, the signal marks the dialog urgent only", async () => {
    const { dialog, other } = await dialogBehindAnother("urgent");
    dialog.process.kill("SIGUSR1");
    await waitFor("the dialog marked urgent", () => viewOf(dialog)?.urgent);
    await sleep(300);
    assert.equal(viewOf(dialog).focused, false);
    assert.equal(viewOf(other).focused, true);
    assert.ok(dialog.running);
  });

  waylandTest("500 signals in a burst leave the dialog running, focused and working", async () => {
    const { dialog } = await dialogBehindAnother("focus");
    for (let i = 0; i < 500; i++) dialog.process.kill("SIGUSR1");
    await shownAndFocused(dialog);
    await sleep(500);
    assert.ok(dialog.running, "the signals must not end the dialog");
    assert.equal(viewOf(dialog).focused, true);
    sway.type("Tab"); // from Later to Install & Relaunch
    await sleep(300);
    sway.type("space");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stdout.toString(), installRequest);
  });

  waylandTest("on X11 the signal asks nothing of Wayland, though a compositor is at hand", async () => {
    // libwayland traces every request of a connection to stderr with WAYLAND_DEBUG.
    const dialog = withEnv({ QT_QPA_PLATFORM: "xcb", WAYLAND_DEBUG: "client" }, () => session.start({ status: offer }));
    await dialog.window();
    for (let i = 0; i < 5; i++) {
      dialog.process.kill("SIGUSR1");
      await sleep(100);
    }
    assert.equal(viewOf(dialog), undefined, "the dialog is an X11 window, not one of sway's");
    await dialog.key("Escape");
    const result = await dialog.waitForExit();
    assert.equal(result.status, 0);
    assert.equal(result.stderr.toString(), "", "no Wayland connection, so nothing traced");
  });

  waylandTest("signals while the dialog has the focus change nothing", async () => {
    sway.swaymsg("focus_on_window_activation", "focus");
    const dialog = session.start({ status: offer });
    await shownAndFocused(dialog);
    for (let i = 0; i < 20; i++) {
      dialog.process.kill("SIGUSR1");
      await sleep(25);
    }
    await sleep(300);
    assert.ok(dialog.running);
    assert.equal(viewOf(dialog).focused, true);
    sway.type("Escape");
    assert.equal((await dialog.waitForExit()).stdout.toString(), "");
  });
});
