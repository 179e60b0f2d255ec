// One test file's surroundings: its own virtual display and a scratch folder,
// and every dialog it starts, all cleaned up when the file's tests are done.
import { after, afterEach, before } from "node:test";
import { join } from "node:path";

import { RunningDialog } from "./dialog.mjs";
import { secondsNow, temporaryFolder, writeStatus } from "./status_file.mjs";
import { startXvfb } from "./xserver.mjs";

export const installRequest = '{"action":"install"}\n';

export function useSession(options = {}) {
  const session = { dialogs: [] };
  before(async () => {
    session.server = await startXvfb(options);
    session.folder = temporaryFolder();
  });
  // A test that failed half-way must not leave its dialog in the next one's way.
  afterEach(async () => {
    await Promise.all(session.dialogs.map((dialog) => dialog.stop()));
  });
  after(async () => {
    await Promise.all(session.dialogs.map((dialog) => dialog.stop()));
    await session.server?.stop();
    session.folder?.remove();
  });

  let count = 0;
  // Starts a dialog whose status file is fresh from now on; `status`, when
  // given, is written before the start (its checkedAt defaults to now).
  session.start = ({
    status,
    installed = "1.2.3",
    icon = "/nonexistent/icon.png",
    minimumTime,
    shell,
    stdoutReaderGone,
  } = {}) => {
    const statusPath = join(session.folder.path, `status-${++count}.json`);
    const threshold = minimumTime ?? secondsNow() - 1;
    const write = (next) => writeStatus(statusPath, { checkedAt: secondsNow(), ...next });
    if (status) write(status);
    const dialog = new RunningDialog(session.server.display, [statusPath, installed, icon, String(threshold)], {}, {
      shell,
      stdoutReaderGone,
    });
    dialog.writeStatus = write;
    dialog.statusPath = statusPath;
    session.dialogs.push(dialog);
    return dialog;
  };
  return session;
}

export const offer = { state: "available", latest: "2.0.0" };
