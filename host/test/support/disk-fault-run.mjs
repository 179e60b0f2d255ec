// Run as a process of its own by disk-faults.mjs, inside the disk fault it
// set up: one update through the real electron-updater whose cache folder
// (argv[2]) is full or not writable, followed by the module. Prints one JSON
// line: the events, what the dialog was shown, and what the download rejected with.
import { followElectronUpdater } from "../../index.mjs";
import { plain } from "./plain-values.mjs";
import { recordingDialog, updaterBench } from "./updater-bench.mjs";

const cacheFolder = process.argv[2];
const bench = await updaterBench();
try {
  bench.server.publish("2.0.0", { size: 256 * 1024 });
  bench.updater.app.baseCachePath = cacheFolder;
  const dialog = recordingDialog();
  followElectronUpdater(bench.updater, dialog);
  const outcome = await bench.check();
  process.stdout.write(
    `${JSON.stringify({
      events: bench.events.map(({ name, args }) => [name, ...args.map(plain)]),
      shown: dialog.shown.map(({ status }) => status),
      download: plain(outcome.download),
    })}\n`,
  );
} finally {
  await bench.stop();
}
