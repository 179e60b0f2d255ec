// A host application in a process of its own: it opens the real dialog,
// reports the dialog's process id and status file on standard output, then
// ends as the test asks ("wait" to be killed, "exit", or "throw").
import { openUpdateDialog } from "../../index.mjs";

const [how] = process.argv.slice(2);
const dialog = openUpdateDialog({ executable: process.env.TESSARY_UPDATE, installed: "1.4.2", icon: "/nonexistent/icon.png" });
dialog.result.catch(() => {});
dialog.show({ state: "checking" });
await dialog.flush();
await dialog.focus(); // the dialog is up and running
process.stdout.write(`${JSON.stringify({ pid: dialog.pid, statusPath: dialog.statusPath })}\n`);
if (how === "exit") process.exit(0);
if (how === "throw") setTimeout(() => {
  throw new Error("the host fails");
}, 10);
