// A virtual display of the test file's own, and the program under test.
import { after, before } from "node:test";

import { startXvfb } from "../../../update-dialog/e2e/lib/xserver.mjs";

/** The Tessary Update program under test, or undefined when none is given. */
export const dialogProgram = process.env.TESSARY_UPDATE;

/** Skips a suite, saying why, when no program is given. */
export const skipWithoutDialog = dialogProgram ? false : "TESSARY_UPDATE does not name the Tessary Update program";

/** Starts a virtual display before the file's tests and stops it after them. */
export function useDisplay() {
  const desktop = {};
  before(async () => {
    const server = await startXvfb();
    Object.assign(desktop, { server, display: server.display, env: { ...process.env, DISPLAY: server.display } });
  });
  after(() => desktop.server?.stop());
  return desktop;
}
