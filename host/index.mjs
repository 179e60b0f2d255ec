// Drives Tessary Update, the native update dialog, from a Node.js or Electron
// host: start it, show the update's progress, bring it to the front, and learn
// whether the user confirmed an install. Types and full documentation are in
// index.d.ts.
export { InstallRequestUndeliveredError, UpdateDialogError } from "./lib/dialog-end.mjs";
export { followElectronUpdater, oneLineMessage } from "./lib/electron-updater.mjs";
export { UpdateDialog, openUpdateDialog } from "./lib/update-dialog.mjs";
