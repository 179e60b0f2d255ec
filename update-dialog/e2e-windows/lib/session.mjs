// One test file's surroundings under Wine: a display of its own (Xvfb with
// openbox), one inspector, a scratch folder, and every dialog it starts, all
// cleaned up when the file's tests are done.
import { execFileSync } from "node:child_process";
import { randomBytes } from "node:crypto";
import { join } from "node:path";
import { after, afterEach, before } from "node:test";

import { secondsNow, temporaryFolder, writeStatus } from "../../e2e/lib/status_file.mjs";
import { startXvfb } from "../../e2e/lib/xserver.mjs";
import { WindowsDialog } from "./dialog.mjs";
import { Inspector } from "./inspector.mjs";
import { requireWineEnvironment } from "./wine.mjs";

export const installRequest = '{"action":"install"}\n';
export const offer = { state: "available", latest: "2.0.0" };

/**
 * The display is 1024 x 768, as scripts/wine-env's: Wine takes the monitor's
 * size (and so the work area the dialog must fit in) from the first display
 * it meets, and keeps it for the wineserver's life.
 */
export function useWineSession() {
  const screen = "1024x768x24";
  const session = { dialogs: [] };
  before(async () => {
    requireWineEnvironment();
    session.server = await startXvfb({ windowManager: true, screen });
    session.display = session.server.display;
    session.inspector = new Inspector(session.display);
    session.folder = temporaryFolder();
  });
  // A test that failed half-way must not leave its dialog in the next one's way.
  afterEach(async () => {
    await Promise.all(session.dialogs.splice(0).map((dialog) => dialog.stop()));
  });
  after(async () => {
    await Promise.all(session.dialogs.splice(0).map((dialog) => dialog.stop()));
    await session.inspector?.stop();
    if (session.display) {
      // A key left held in the X server would close every later dialog.
      execFileSync("xdotool", ["keyup", "Return", "Escape", "space", "Tab"], {
        env: { ...process.env, DISPLAY: session.display },
      });
    }
    await session.server?.stop();
    session.folder?.remove();
  });

  let count = 0;
  /**
   * Starts a dialog whose status file is fresh from now on; `status`, when
   * given, is written before the start (its checkedAt defaults to now).
   * `name` makes the status file's name (a unique part is put first).
   */
  session.start = ({
    status,
    installed = "1.2.3",
    icon = "/nonexistent/icon.png",
    minimumTime,
    stdin,
    name = "",
    args,
  } = {}) => {
    const match = `status-${++count}-${randomBytes(4).toString("hex")}`;
    const statusPath = join(session.folder.path, `${match}${name}.json`);
    const threshold = minimumTime ?? secondsNow() - 1;
    const write = (next) => writeStatus(statusPath, { checkedAt: secondsNow(), ...next });
    if (status) write(status);
    const dialog = new WindowsDialog({
      display: session.display,
      inspector: session.inspector,
      args: args ?? [statusPath, installed, icon, String(threshold)],
      match,
      stdin,
    });
    dialog.writeStatus = write;
    dialog.statusPath = statusPath;
    session.dialogs.push(dialog);
    return dialog;
  };
  return session;
}
