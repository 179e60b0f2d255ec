'use strict';
// Reports, as one JSON object on descriptor 3, what the Node.js runtime sees of its own process:
// its command line and environment, the standard descriptors, and the environment that a process
// it starts inherits. Raw bytes travel as hex, since they need not be UTF-8.
//
// Where /proc exists (Linux) the command line and environment are the raw bytes the process was
// started with; elsewhere (macOS) they are the runtime's own UTF-8 view of them, and `raw` is false.
const fs = require('fs');
const {spawnSync} = require('child_process');

const raw = fs.existsSync('/proc/self/cmdline');

function nulSeparated(strings) {
    return Buffer.from(strings.map((string) => `${string}\0`).join(''), 'utf8').toString('hex');
}

function environmentView() {
    return nulSeparated(Object.entries(process.env).map(([name, value]) => `${name}=${value}`));
}

// Whether the descriptor answers a one-byte read at offset 0 and an empty write, neither of which
// moves its offset or changes its file. EBADF is the answer of a descriptor not open in that
// direction; any other error (a pipe cannot be read at an offset) counts as open in it.
function answers(operation) {
    try {
        operation();
        return true;
    } catch (error) {
        return error.code !== 'EBADF';
    }
}

function accessModeByBehaviour(fd) {
    const readable = answers(() => fs.readSync(fd, Buffer.alloc(1), 0, 1, 0));
    const writable = answers(() => fs.writeSync(fd, Buffer.alloc(0), 0, 0, 0));
    if (readable && writable) return 2;  // O_RDWR
    return writable ? 1 : 0;             // O_WRONLY, O_RDONLY
}

function describeDescriptor(fd) {
    let stat;
    try {
        stat = fs.fstatSync(fd, {bigint: true});
    } catch (error) {
        return {open: false, error: error.code};
    }
    const view = {open: true, dev: stat.dev.toString(), ino: stat.ino.toString()};
    if (raw) {
        const info = fs.readFileSync(`/proc/self/fdinfo/${fd}`, 'latin1');
        const field = (name) => info.match(new RegExp(`^${name}:\\s*(\\S+)`, 'm'))[1];
        view.pos = Number(field('pos'));
        view.accessMode = parseInt(field('flags'), 8) & 3;
    } else {
        view.accessMode = accessModeByBehaviour(fd);
    }
    return view;
}

function childEnvironment() {
    if (raw) return spawnSync('/bin/cat', ['/proc/self/environ']).stdout.toString('hex');
    const script = 'process.stdout.write(Object.entries(process.env).map(([n, v]) => `${n}=${v}\\0`).join(""))';
    return spawnSync(process.execPath, ['-e', script]).stdout.toString('hex');
}

const report = {
    pid: process.pid,
    raw,
    argv0: process.argv0,
    argv: process.argv.slice(1),
    cmdline: raw ? fs.readFileSync('/proc/self/cmdline').toString('hex') : null,
    environ: raw ? fs.readFileSync('/proc/self/environ').toString('hex') : environmentView(),
    childEnviron: childEnvironment(),
    descriptors: [0, 1, 2].map(describeDescriptor),
};
fs.writeSync(3, JSON.stringify(report));
