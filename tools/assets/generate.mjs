// Generates the image assets under resources/assets/images as SVG files:
//  - the player icons, taken from the Tabler icon set (MIT) and recoloured;
//  - the channel-button pictures, the full-screen channel badges, the slider
//    knob, the speed meter steps and the placeholder pictures, drawn here.
// Run with `npm install && npm run generate` in this folder; the output is committed.

import { readFileSync, writeFileSync, mkdirSync, readdirSync, unlinkSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const outDir = join(root, 'resources', 'assets', 'images');
const colors = JSON.parse(readFileSync(join(root, 'resources', 'assets', 'colors.json'), 'utf8')).colors;
const tablerDir = join(here, 'node_modules', '@tabler', 'icons', 'icons');

// The palette: the catalogue's own colours, so that pictures and views match.
const KEY = colors['KeyColor_ED6E00'];
const WHITE = '#FFFFFF';
const GREY_TEXT = '#9A9A9A';
const GREY_DIM = colors['DefaultBtn_767676'];
const TRACK = colors['GrayBG_3B3B3B'];
const PANEL = colors['GrayBG_333333'];
const DARK = colors['DarkGrayBG_1F1F1F'];
const EDGE = colors['Shadow_5D5D5D'];

const written = new Set();
function write(name, svg) {
  writeFileSync(join(outDir, `${name}.svg`), svg.trim() + '\n');
  written.add(`${name}.svg`);
}

const fmt = (v) => Number(v.toFixed(2)).toString();

// A Tabler icon with its colour fixed (Qt's SVG renderer has no CSS colour inheritance).
function tablerIcon(name, variant, color) {
  let svg = readFileSync(join(tablerDir, variant, `${name}.svg`), 'utf8');
  svg = svg.replace(/currentColor/g, color).replace(/\s*class="[^"]*"/, '');
  svg = svg.replace(/\s*<path stroke="none" d="M0 0h24v24H0z" fill="none" \/>/, '');
  return svg;
}

// Player and storyboard icons: name -> [tabler name, variant, colour].
const icons = {
  btn_all_play: ['player-play', 'filled', WHITE],
  btn_all_pause: ['player-pause', 'filled', WHITE],
  btn_all_stop: ['player-stop', 'filled', WHITE],
  btn_all_prev: ['player-track-prev', 'filled', WHITE],
  btn_all_next: ['player-track-next', 'filled', WHITE],
  btn_all_rewind: ['rewind-backward-10', 'outline', WHITE],
  btn_all_forward: ['rewind-forward-10', 'outline', WHITE],
  btn_all_vol: ['volume', 'outline', WHITE],
  btn_all_vol_mute: ['volume-3', 'outline', WHITE],
  btn_all_repeat_all: ['repeat', 'outline', WHITE],
  btn_all_repeat_one: ['repeat-once', 'outline', WHITE],
  btn_all_open: ['folder-open', 'outline', WHITE],
  btn_all_setting: ['settings', 'outline', WHITE],
  btn_all_help: ['help-circle', 'outline', WHITE],
  btn_all_capture: ['camera', 'outline', WHITE],
  btn_all_backup: ['device-floppy', 'outline', WHITE],
  btn_all_fullscreen: ['maximize', 'outline', WHITE],
  img_gps_on: ['current-location', 'outline', KEY],
  img_gps_off: ['current-location-off', 'outline', GREY_DIM],
};

// Stroke digits 1-4 drawn inside the 24-unit icon grid, centred on (12, 12).
const digits = {
  1: 'M10.2 9.6l1.8 -1.6v8',
  2: 'M9.6 9.8a2.4 2.2 0 0 1 4.8 0c0 1.3 -0.9 2.1 -1.9 2.9l-2.9 3.3h4.8',
  3: 'M9.6 8h4.6l-2.6 3.2a2.45 2.45 0 1 1 -2.3 3.5',
  4: 'M13.4 16v-8l-4.2 5.6h5.6',
};

// Full-screen channel button: a screen frame carrying the channel number.
function channelBadge(n) {
  return `<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" fill="none"
  stroke="${WHITE}" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">
  <rect x="3" y="4.5" width="18" height="15" rx="2.5"/>
  <path d="${digits[n]}" stroke-width="1.8"/>
</svg>`;
}

// Window player's channel buttons: a segmented control of five buttons.
// Family 1 is the left end (channel 1), family 2 the middle (channels 2-4),
// family 3 the right end ("ALL"). States: "n" available, "s" current, "d" unavailable.
function channelButton(family, state) {
  const w = 64, h = 28, r = 5;
  const fill = { n: TRACK, s: KEY, d: DARK }[state];
  const stroke = { n: EDGE, s: KEY, d: PANEL }[state];
  const rl = family === 1 ? r : 0;
  const rr = family === 3 ? r : 0;
  const x0 = 0.5, y0 = 0.5, x1 = w - 0.5, y1 = h - 0.5;
  const d = [
    `M${x0 + rl} ${y0}`,
    `H${x1 - rr}`,
    rr ? `A${rr} ${rr} 0 0 1 ${x1} ${y0 + rr}` : '',
    `V${y1 - rr}`,
    rr ? `A${rr} ${rr} 0 0 1 ${x1 - rr} ${y1}` : '',
    `H${x0 + rl}`,
    rl ? `A${rl} ${rl} 0 0 1 ${x0} ${y1 - rl}` : '',
    `V${y0 + rl}`,
    rl ? `A${rl} ${rl} 0 0 1 ${x0 + rl} ${y0}` : '',
    'Z',
  ].filter(Boolean).join(' ');
  // A faint highlight along the top edge gives the current button some depth.
  const shine = state === 's'
    ? `\n  <path d="M${x0 + rl + 1} 1.5 H${x1 - rr - 1}" stroke="${WHITE}" stroke-opacity="0.35" stroke-width="1"/>`
    : '';
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">
  <path d="${d}" fill="${fill}" stroke="${stroke}" stroke-width="1"/>${shine}
</svg>`;
}

// Slider knob: a white disc with a thin dark rim and an accent centre.
function handle() {
  return `<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20" viewBox="0 0 20 20">
  <circle cx="10" cy="10" r="8.5" fill="${WHITE}" stroke="#000000" stroke-opacity="0.35" stroke-width="1"/>
  <circle cx="10" cy="10" r="3" fill="${KEY}"/>
</svg>`;
}

// Speed meter: a 270-degree arc, open at the bottom, filled in 50 steps of 4 km/h
// (step 0 empty, step 49 full), with ticks every 20 km/h.
function polar(cx, cy, r, deg) {
  const a = (deg * Math.PI) / 180;
  return [cx + r * Math.cos(a), cy + r * Math.sin(a)];
}
function arc(cx, cy, r, from, to) {
  const [x0, y0] = polar(cx, cy, r, from);
  const [x1, y1] = polar(cx, cy, r, to);
  const large = to - from > 180 ? 1 : 0;
  return `M${fmt(x0)} ${fmt(y0)} A${r} ${r} 0 ${large} 1 ${fmt(x1)} ${fmt(y1)}`;
}
function speedGraph(step) {
  const cx = 60, cy = 60, r = 46, start = 135, sweep = 270;
  const parts = [];
  parts.push(`<path d="${arc(cx, cy, r, start, start + sweep)}" stroke="${TRACK}" stroke-width="10" stroke-linecap="round" fill="none"/>`);
  if (step > 0) {
    const end = start + (sweep * step) / 49;
    parts.push(`<path d="${arc(cx, cy, r, start, end)}" stroke="${KEY}" stroke-width="10" stroke-linecap="round" fill="none"/>`);
  }
  const ticks = [];
  for (let i = 0; i <= 10; i++) {
    const deg = start + (sweep * i) / 10;
    const [ax, ay] = polar(cx, cy, 35, deg);
    const [bx, by] = polar(cx, cy, i % 5 === 0 ? 29 : 31.5, deg);
    ticks.push(`M${fmt(ax)} ${fmt(ay)} L${fmt(bx)} ${fmt(by)}`);
  }
  parts.push(`<path d="${ticks.join(' ')}" stroke="${GREY_DIM}" stroke-width="2" stroke-linecap="round" fill="none"/>`);
  return `<svg xmlns="http://www.w3.org/2000/svg" width="120" height="120" viewBox="0 0 120 120">
  ${parts.join('\n  ')}
</svg>`;
}

// The product mark: a rounded lens frame with a play triangle and a recording dot.
function markPaths(x, y, s) {
  const t = (v) => fmt(v * s);
  return `<g transform="translate(${x} ${y})">
    <rect x="${t(2)}" y="${t(6)}" width="${t(44)}" height="${t(32)}" rx="${t(7)}" fill="none" stroke="${GREY_TEXT}" stroke-width="${t(3)}"/>
    <path d="M${t(20)} ${t(15)} L${t(32)} ${t(22)} L${t(20)} ${t(29)} Z" fill="${GREY_TEXT}"/>
    <circle cx="${t(40)}" cy="${t(12)}" r="${t(4)}" fill="${KEY}"/>
  </g>`;
}

// Shown in the video area while nothing plays.
function defaultVideo() {
  const w = 640, h = 360, s = 3;
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">
  <rect width="${w}" height="${h}" fill="${DARK}"/>
  ${markPaths(w / 2 - 24 * s, h / 2 - 22 * s, s)}
</svg>`;
}

// The full-screen logo view's mark.
function logo() {
  return `<svg xmlns="http://www.w3.org/2000/svg" width="48" height="44" viewBox="0 0 48 44">
  ${markPaths(0, 0, 1)}
</svg>`;
}

// Shown in place of the map: a folded map with a pin, in greys.
function mapDefault() {
  const w = 320, h = 240;
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">
  <rect width="${w}" height="${h}" fill="${DARK}"/>
  <g transform="translate(112 56)" fill="none" stroke="${GREY_DIM}" stroke-width="3" stroke-linejoin="round" stroke-linecap="round">
    <path d="M4 20 L32 8 L64 20 L92 8 V72 L64 84 L32 72 L4 84 Z" fill="${PANEL}"/>
    <path d="M32 8 V72 M64 20 V84"/>
  </g>
  <g transform="translate(148 44)">
    <path d="M12 0 C5.4 0 0 5.2 0 11.6 C0 20 12 32 12 32 C12 32 24 20 24 11.6 C24 5.2 18.6 0 12 0 Z" fill="${GREY_TEXT}"/>
    <circle cx="12" cy="11.5" r="4.2" fill="${DARK}"/>
  </g>
</svg>`;
}

mkdirSync(outDir, { recursive: true });
for (const [name, [tabler, variant, color]] of Object.entries(icons)) write(name, tablerIcon(tabler, variant, color));
for (const n of [1, 2, 3, 4]) write(`btn_all_${n}ch`, channelBadge(n));
for (const family of [1, 2, 3]) for (const state of ['d', 's', 'n']) write(`btn_ch_${family}_${state}`, channelButton(family, state));
write('img_handle', handle());
for (let i = 0; i < 50; i++) write(`speed_graph_${i}`, speedGraph(i));
write('img_default_video', defaultVideo());
write('img_map_default', mapDefault());
write('img_logo', logo());

// Remove pictures this script no longer makes.
for (const f of readdirSync(outDir)) if (f.endsWith('.svg') && !written.has(f)) unlinkSync(join(outDir, f));
console.log(`${written.size} images written to ${outDir}`);
