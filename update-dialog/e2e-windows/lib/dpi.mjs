// The DPI that Wine programs started from now on scale to (96 is 100 %, 144
// is 150 %): a value in the prefix's registry, read by each program as it
// starts. It holds for the whole wineserver, so test files that change it
// run one at a time (scripts/test-windows-e2e does) and set it back.
import { execFileSync } from "node:child_process";

import { wine64 } from "./wine.mjs";

/** @param {number} dpi @param {string} display */
export function setDpi(dpi, display) {
  execFileSync(
    wine64,
    ["reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", String(dpi), "/f"],
    { env: { ...process.env, DISPLAY: display, WINEDEBUG: "-all" }, stdio: "ignore" },
  );
}
