// A host application in a process of its own that drives a dialog the
// Windows way (its standard input a pipe, no watchdog), reports the dialog's
// process id on standard output and then waits to be killed.
import { openUpdateDialog } from "../../index.mjs";

const [executable] = process.argv.slice(2);
const dialog = openUpdateDialog({ executable, installed: "1.4.2", icon: "/nonexistent/icon.png", platform: "win32" });
dialog.result.catch(() => {});
dialog.show({ state: "checking" });
await dialog.flush();
process.stdout.write(`${JSON.stringify({ pid: dialog.pid, statusPath: dialog.statusPath })}\n`);
setInterval(() => {}, 1000);
