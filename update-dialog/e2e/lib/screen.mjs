// What a person sees of a window: a screenshot as RGB pixels, and the few
// things the tests look for in it (the buttons, the filled part of the bar).
import { execFileSync } from "node:child_process";

export class Screenshot {
  constructor(width, height, pixels) {
    this.width = width;
    this.height = height;
    this.pixels = pixels;
  }

  rgb(x, y) {
    const i = (y * this.width + x) * 3;
    return [this.pixels[i], this.pixels[i + 1], this.pixels[i + 2]];
  }

  // Light grey and white UI surfaces are bright; borders and text are darker.
  isDark(x, y) {
    const [r, g, b] = this.rgb(x, y);
    return (r + g + b) / 3 < 190;
  }

  // The fill of a progress bar: the style's blue highlight.
  isHighlight(x, y) {
    const [r, g, b] = this.rgb(x, y);
    return b > r + 50 && b > 120;
  }
}

// Parses a binary PPM (P6) as ImageMagick writes it.
export function parsePpm(buffer) {
  const fields = [];
  let offset = 0;
  while (fields.length < 4) {
    while (/\s/.test(String.fromCharCode(buffer[offset]))) offset++;
    if (buffer[offset] === 0x23) {
      while (buffer[offset] !== 0x0a) offset++;
      continue;
    }
    let token = "";
    while (!/\s/.test(String.fromCharCode(buffer[offset]))) token += String.fromCharCode(buffer[offset++]);
    fields.push(token);
  }
  offset++;
  const [magic, width, height, maximum] = fields;
  if (magic !== "P6" || maximum !== "255") throw new Error(`unexpected image format ${magic}/${maximum}`);
  return new Screenshot(Number(width), Number(height), buffer.subarray(offset));
}

export function captureWindow(display, windowId) {
  const ppm = execFileSync("import", ["-window", String(windowId), "-depth", "8", "ppm:-"], {
    env: { ...process.env, DISPLAY: display },
    maxBuffer: 64 * 1024 * 1024,
  });
  return parsePpm(ppm);
}

export function savePng(display, windowId, path) {
  execFileSync("import", ["-window", String(windowId), path], { env: { ...process.env, DISPLAY: display } });
}

// Buttons sit in a row at the bottom right. Just above their bottom edge, the
// only dark pixels of that row are the buttons' left and right borders.
// Returns their centres, the rightmost (the first button) first.
export function findButtons(shot) {
  const probeX = shot.width - 30;
  let bottom = shot.height - 1;
  while (bottom > 0 && !shot.isDark(probeX, bottom)) bottom--;
  if (bottom === 0) return [];
  let top = bottom - 1;
  while (top > 0 && !shot.isDark(probeX, top)) top--;
  const y = bottom - 3;
  const borders = [];
  for (let x = shot.width - 1; x >= 0; x--) {
    if (!shot.isDark(x, y)) continue;
    if (borders.length && borders[borders.length - 1].left === x + 1) borders[borders.length - 1].left = x;
    else borders.push({ right: x, left: x });
  }
  const buttons = [];
  for (let i = 0; i + 1 < borders.length; i += 2) {
    const right = borders[i].right;
    const left = borders[i + 1].left;
    buttons.push({ x: Math.round((left + right) / 2), y: Math.round((top + bottom) / 2), width: right - left + 1 });
  }
  return buttons;
}

// The widest run of adjacent columns that each hold a few highlight pixels:
// the filled part of a determinate bar (a button's 1-pixel border never counts).
// The icon (64 pixels between 20-pixel margins) is left out.
export function filledBarWidth(shot) {
  const textColumn = 100;
  let widest = 0;
  let run = 0;
  for (let x = textColumn; x < shot.width; x++) {
    let count = 0;
    for (let y = 0; y < shot.height; y++) if (shot.isHighlight(x, y)) count++;
    run = count >= 6 ? run + 1 : 0;
    widest = Math.max(widest, run);
  }
  return widest;
}
