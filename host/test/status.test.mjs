// What show() accepts, what it writes, and how its time stamps behave.
import assert from "node:assert/strict";
import { test } from "node:test";

import { createStatusClock } from "../lib/status-clock.mjs";
import { normalizeStatus } from "../lib/status.mjs";

test("a status is written with only the dialog's keys, in a fixed order", () => {
  const cases = [
    [{ state: "checking" }, { state: "checking" }],
    [{ state: "" }, { state: "" }],
    [
      { progress: 37.5, total: 2000, downloaded: 750, latest: "2.0.0", state: "downloading" },
      { state: "downloading", latest: "2.0.0", downloaded: 750, total: 2000, progress: 37.5 },
    ],
    [{ state: "error", message: "Disk full", latest: undefined }, { state: "error", message: "Disk full" }],
    [{ state: "downloading", progress: 130, downloaded: 0 }, { state: "downloading", downloaded: 0, progress: 130 }],
  ];
  for (const [given, written] of cases) {
    assert.deepEqual(Object.entries(normalizeStatus(given)), Object.entries(written));
  }
});

test("a value of the wrong type is refused with an error naming the field", () => {
  const cases = [
    [undefined, TypeError, /status must be an object/],
    [[], TypeError, /status must be an object/],
    [{}, TypeError, /status\.state is required/],
    [{ state: 1 }, TypeError, /status\.state must be a string/],
    [{ state: null }, TypeError, /status\.state must be a string/],
    [{ state: "available", latest: 2 }, TypeError, /status\.latest/],
    [{ state: "error", message: null }, TypeError, /status\.message/],
    [{ state: "downloading", downloaded: 1.5 }, TypeError, /status\.downloaded/],
    [{ state: "downloading", downloaded: "750" }, TypeError, /status\.downloaded/],
    [{ state: "downloading", total: 2 ** 64 }, TypeError, /status\.total/],
    [{ state: "downloading", total: -1 }, RangeError, /status\.total must not be negative/],
    [{ state: "downloading", progress: "50" }, TypeError, /status\.progress/],
    [{ state: "downloading", progress: Number.NaN }, TypeError, /status\.progress/],
    [{ state: "downloading", progress: Infinity }, TypeError, /status\.progress/],
    [{ state: "checking", checkedAt: 5 }, TypeError, /status\.checkedAt .*written by the module/],
    [{ state: "checking", progres: 5 }, TypeError, /status\.progres is not a field/],
  ];
  for (const [given, type, message] of cases) {
    assert.throws(() => normalizeStatus(given), (error) => error instanceof type && message.test(error.message));
  }
});

test("time stamps never fall below the threshold nor go back, whatever the wall clock does", () => {
  const wall = [1_700_000_000_000];
  let monotonic = 500;
  const clock = createStatusClock({ wallClockMs: () => wall[0], monotonicMs: () => monotonic });
  assert.equal(clock.threshold, 1_700_000_000);
  const stamps = [];
  for (const [wallStep, monotonicStep] of [[0, 0], [-3_600_000, 250], [10, 0], [-5, -100], [0, 1000]]) {
    wall[0] += wallStep;
    monotonic += monotonicStep;
    stamps.push(clock.next());
  }
  assert.deepEqual(stamps, [1_700_000_000, 1_700_000_000.25, 1_700_000_000.25, 1_700_000_000.25, 1_700_000_001.15]);
});
