// A worker that reads the status file as fast as it can until told to stop,
// and reports what it found: every reading must parse.
import { readFileSync } from "node:fs";
import { parentPort, workerData } from "node:worker_threads";

const { path, stop } = workerData;
const flag = new Int32Array(stop);
const report = { readings: 0, missing: 0, unparsable: [], checkedAt: new Set(), states: new Set(), lowestCheckedAt: Infinity };
while (Atomics.load(flag, 0) === 0) {
  let text;
  try {
    text = readFileSync(path, "utf8");
  } catch (error) {
    if (error.code !== "ENOENT") throw error;
    report.missing++;
    continue;
  }
  report.readings++;
  try {
    const status = JSON.parse(text);
    report.checkedAt.add(status.checkedAt);
    report.states.add(status.state);
    report.lowestCheckedAt = Math.min(report.lowestCheckedAt, status.checkedAt);
  } catch {
    if (report.unparsable.length < 5) report.unparsable.push(text);
  }
}
parentPort.postMessage({ ...report, checkedAt: report.checkedAt.size, states: [...report.states] });
