// The Wine side of the tests: the programs under test and how to run one.
// The environment (prefix, wineserver, fonts) is scripts/wine-env's, which
// scripts/test-windows-e2e sources before it starts the tests.
import { spawn } from "node:child_process";

export const wine64 = process.env.TESSARY_WINE64 || "/usr/lib/wine/wine64";

const required = (name, what) => {
  const value = process.env[name];
  if (!value) throw new Error(`${name} must name ${what} (scripts/test-windows-e2e sets it)`);
  return value;
};

/** The programs the tests run under Wine, from the environment. */
export const programs = {
  get dialog() {
    return required("TESSARY_UPDATE_EXE", "Tessary Update.exe");
  },
  get inspector() {
    return required("TESSARY_INSPECTOR_EXE", "tessary-inspector.exe");
  },
  get bareDialog() {
    return required("TESSARY_BARE_DIALOG_EXE", "tessary-bare-dialog.exe");
  },
};

/**
 * Checks that the run's Wine environment is in place; throws otherwise. A
 * Wine command without it would make a prefix of its own in ~/.wine and
 * start a wineserver of its own, and one without DISPLAY would break window
 * creation for the rest of that wineserver.
 */
export function requireWineEnvironment() {
  required("WINEPREFIX", "the run's Wine prefix (source scripts/wine-env)");
  required("DISPLAY", "a display (scripts/wine-env exports one)");
}

/**
 * Starts a Windows program under Wine on `display`. wine64 executes the
 * program in its own process, so the child's pid is the program's, and its
 * exit status is the program's. Wait for 'exit', never 'close': Wine's
 * service processes may hold the streams open for seconds.
 *
 * @param {string} exe
 * @param {string[]} args
 * @param {{ display: string, stdio?: import("node:child_process").StdioOptions, env?: object }} options
 */
export function spawnWine(exe, args, { display, stdio = ["pipe", "pipe", "pipe"], env = {} }) {
  return spawn(wine64, [exe, ...args], {
    env: { ...process.env, ...env, DISPLAY: display, WINEDEBUG: "-all" },
    stdio,
  });
}
