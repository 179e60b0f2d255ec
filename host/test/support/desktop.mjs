// The real Tessary Update on a display, looked at and pressed as a person
// would, through the end-to-end tests' helpers.
import { execFileSync } from "node:child_process";

import { waitFor } from "../../../update-dialog/e2e/lib/dialog.mjs";
import { captureWindow, findButtons } from "../../../update-dialog/e2e/lib/screen.mjs";

export { waitFor };

const xdotool = (display, ...args) =>
  execFileSync("xdotool", args.map(String), { env: { ...process.env, DISPLAY: display }, encoding: "utf8" }).trim();

/** The dialog's window once it is mapped and painted. */
export async function dialogWindow(display, dialog) {
  const window = await waitFor("the dialog window", () => {
    if (dialog.ended) throw new Error("the dialog ended early");
    try {
      return xdotool(display, "search", "--onlyvisible", "--pid", dialog.pid, "--name", "Tessary Update").split("\n")[0];
    } catch {
      return undefined; // xdotool reports "no window" with a failure status
    }
  });
  // Until its first paint a new window shows the black root window.
  await waitFor("the dialog painted", () => {
    const [r, g, b] = captureWindow(display, window).rgb(1, 1);
    return r + g + b > 450;
  });
  return window;
}

/** The dialog's buttons, the first (rightmost) one first. */
export const dialogButtons = async (display, dialog) => findButtons(captureWindow(display, await dialogWindow(display, dialog)));

/** Waits until the dialog shows `count` buttons. */
export const waitForButtons = (display, dialog, count) =>
  waitFor(`${count} buttons`, async () => (await dialogButtons(display, dialog)).length === count);

/** Clicks the index-th button counted from the right (0 is the first button). */
export async function clickButton(display, dialog, index) {
  const window = await dialogWindow(display, dialog);
  const buttons = await waitFor(`button ${index + 1}`, async () => {
    const found = await dialogButtons(display, dialog);
    return found.length > index ? found : undefined;
  });
  xdotool(display, "mousemove", "--window", window, buttons[index].x, buttons[index].y, "click", "1");
}
