'use strict';
// Run by Tessary Service as its Node.js program; answers on descriptor 3 only.
//   closed   after a start with descriptors 0-2 closed: "ok" when 0 is the null device open for
//            reading, 1 and 2 the null device open for writing (as the launcher reopens them; Node.js
//            would open its own for reading and writing), the arguments after "closed" are the fixed
//            list below, STRESS_MARK is "kept" and ELECTRON_RUN_AS_NODE is gone; else what differs.
//   digest   SHA-256 of the raw command line and environment the runtime received, as JSON.
const fs = require('fs');
const crypto = require('crypto');

const expectedArguments = ['', 'two words', '--inspect', '-e', 'ünïcödé', '--'];

function closedReport() {
    const problems = [];
    const nullDevice = fs.statSync('/dev/null').rdev;
    [0, 1, 2].forEach((fd, index) => {
        const flags = fs.readFileSync(`/proc/self/fdinfo/${fd}`, 'latin1').match(/^flags:\s*(\d+)/m);
        const accessMode = parseInt(flags[1], 8) & 3;
        if (fs.fstatSync(fd).rdev !== nullDevice) problems.push(`descriptor ${fd} is not the null device`);
        if (accessMode !== (index === 0 ? 0 : 1)) problems.push(`descriptor ${fd} has access mode ${accessMode}`);
    });
    const got = process.argv.slice(3);
    if (JSON.stringify(got) !== JSON.stringify(expectedArguments)) problems.push(`arguments ${JSON.stringify(got)}`);
    if (process.env.STRESS_MARK !== 'kept') problems.push('STRESS_MARK changed');
    if ('ELECTRON_RUN_AS_NODE' in process.env) problems.push('ELECTRON_RUN_AS_NODE still set');
    return problems.length ? problems.join('; ') : 'ok';
}

function digestReport() {
    const sha = (path) => crypto.createHash('sha256').update(fs.readFileSync(path)).digest('hex');
    return JSON.stringify({cmdline: sha('/proc/self/cmdline'), environ: sha('/proc/self/environ')});
}

fs.writeSync(3, process.argv[2] === 'closed' ? closedReport() : digestReport());
