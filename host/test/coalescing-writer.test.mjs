// Coalescing of status writes: at most one write per interval, never two at
// once, and the newest value always last.
import assert from "node:assert/strict";
import { test } from "node:test";

import { CoalescingWriter } from "../lib/coalescing-writer.mjs";

// A hand-driven clock and timers; writes finish when the test says so.
function harness({ failing = () => false } = {}) {
  const world = { now: 0, timers: [], writes: [], open: [] };
  const writer = new CoalescingWriter(
    (value) =>
      new Promise((resolve, reject) => {
        world.writes.push({ value, at: world.now });
        world.open.push(() => (failing(value) ? reject(new Error(`cannot write ${value}`)) : resolve()));
      }),
    {
      intervalMs: 50,
      now: () => world.now,
      setTimer: (callback, ms) => {
        const timer = { due: world.now + ms, callback };
        world.timers.push(timer);
        return timer;
      },
      clearTimer: (timer) => (world.timers = world.timers.filter((other) => other !== timer)),
    },
  );
  world.finishWrites = async () => {
    while (world.open.length) world.open.shift()();
    for (let i = 0; i < 5; i++) await Promise.resolve();
  };
  world.advance = async (ms) => {
    world.now += ms;
    for (const timer of world.timers.filter(({ due }) => due <= world.now)) {
      world.timers = world.timers.filter((other) => other !== timer);
      timer.callback();
    }
    await world.finishWrites();
  };
  return { writer, world };
}

test("a burst of values becomes one write now and one of the newest value later", async () => {
  const { writer, world } = harness();
  for (let i = 1; i <= 1000; i++) writer.offer(i);
  await world.finishWrites();
  assert.deepEqual(world.writes, [{ value: 1, at: 0 }]);
  await world.advance(49);
  assert.equal(world.writes.length, 1, "no second write within the interval");
  await world.advance(1);
  assert.deepEqual(world.writes.at(-1), { value: 1000, at: 50 });
  const flushed = writer.flush();
  await world.advance(500);
  await flushed;
  assert.equal(world.writes.length, 2);
});

test("writes never overlap: a slow write holds the next one back", async () => {
  const { writer, world } = harness();
  writer.offer("a");
  writer.offer("b");
  world.now = 200; // the write of "a" is still open
  for (const timer of world.timers.splice(0)) timer.callback();
  assert.deepEqual(world.writes.map(({ value }) => value), ["a"]);
  await world.finishWrites();
  assert.deepEqual(world.writes.map(({ value }) => value), ["a", "b"]);
});

test("a failed write makes flush reject; the next value is written again", async () => {
  const { writer, world } = harness({ failing: (value) => value === "bad" });
  writer.offer("bad");
  const flushed = writer.flush();
  await world.finishWrites();
  await assert.rejects(flushed, /cannot write bad/);
  await world.advance(50);
  writer.offer("good");
  await world.finishWrites();
  await writer.flush();
  assert.deepEqual(world.writes.map(({ value }) => value), ["bad", "good"]);
});

test("after stop nothing more is written and flush settles", async () => {
  const { writer, world } = harness();
  writer.offer(1);
  writer.offer(2);
  const stopped = writer.stop();
  await world.finishWrites();
  await stopped;
  writer.offer(3);
  await world.advance(100);
  await writer.flush();
  assert.deepEqual(world.writes.map(({ value }) => value), [1]);
});
