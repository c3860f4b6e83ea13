// The page-cost benchmark: what the game's page costs in headless Chromium beside the least
// page on SDL2 and WebGL built the same way (minimal_web_page). Usage (run_page_cost.sh builds):
//   node page_cost.mjs <folder with quorvane.html and minimal_web_page.html> [runs]
// Prints three tables: navigation to the first drawn frame (median of the runs, after one
// unmeasured load of each page, the two pages taking turns), main-thread time of a frame (the
// game in play with Up and Left held, against the floor page's empty frame, and beside them the
// gameplay frame's WebGL calls replayed from plain JavaScript against a plain clear), and the
// bytes a browser transfers, gzipped as a static host serves them.
import { openBrowser, serveFolder, openPage, waitFor, capture, sleep } from "../../tests/web/browser.mjs";
import fs from "node:fs";
import os from "node:os";
import zlib from "node:zlib";

const folder = process.argv[2];
const runs = Number(process.argv[3] || 7);
const frames = 300;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const percentile = (values, share) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) * share)];
const fixed = (value) => value.toFixed(2);

const server = await serveFolder(folder);
const browser = await openBrowser();
const loadBefore = os.loadavg()[0];

async function firstFrame(pageName) {
  const page = await openPage(browser, `${server.url}/${pageName}`);
  await waitFor(page, () => window.__probe.firstDrawnFrameAt !== null, 60000, "a first drawn frame");
  const [time, isolated] = await page.evaluate(() => [window.__probe.firstDrawnFrameAt, window.crossOriginIsolated]);
  await page.close();
  // Without isolation the browser's clock ticks in 100 us, too coarse for a frame's work.
  if (!isolated) throw new Error(`${pageName} is not cross-origin isolated`);
  return time;
}

async function frameTimes(page) {
  await page.evaluate(() => { window.__probe.frameTimes = []; });
  await waitFor(page, (count) => window.__probe.frameTimes.length >= count, 60000, `${frames} frames`, frames);
  return page.evaluate((count) => window.__probe.frameTimes.slice(0, count), frames);
}

// The browser's first page pays for starting its GPU process and caches: one load of each is
// left out, and the two pages then take turns, so that neither gets the quieter moments.
await firstFrame("minimal_web_page.html");
await firstFrame("quorvane.html");
const floorStart = [];
const gameStart = [];
for (let run = 0; run < runs; run++) {
  floorStart.push(await firstFrame("minimal_web_page.html"));
  gameStart.push(await firstFrame("quorvane.html"));
}

const floorPage = await openPage(browser, `${server.url}/minimal_web_page.html`);
await sleep(1000);
const emptyFrames = await frameTimes(floorPage);
await floorPage.close();

// The same frames' WebGL calls from plain JavaScript: what the browser itself charges for them.
async function replayFrames(calls) {
  const page = await openPage(browser, `${server.url}/gameplay_webgl_replay.html?calls=${calls}`);
  await sleep(1000);
  const times = await frameTimes(page);
  await page.close();
  return times;
}
const replayedClear = await replayFrames("clear");
const replayedGameplay = await replayFrames("gameplay");

const gamePage = await openPage(browser, `${server.url}/quorvane.html`);
const deadline = Date.now() + 60000;
for (;;) {
  const counts = await capture(gamePage, [["white", 400, 300, 880, 420], ["orange", 440, 160, 840, 560]]);
  if (counts.white > 1500 && counts.orange === 0) break;
  if (Date.now() > deadline) throw new Error("the title did not appear");
  await sleep(200);
}
await gamePage.keyboard.press("Space");
await sleep(1500);
await gamePage.keyboard.down("ArrowUp");
await gamePage.keyboard.down("ArrowLeft");
const playFrames = await frameTimes(gamePage);
await gamePage.close();
await browser.close();
server.close();

const transferred = ["quorvane.html", "quorvane.js", "quorvane.wasm", "quorvane.data"].map((name) => {
  const bytes = fs.readFileSync(`${folder}/${name}`);
  return [name, bytes.length, zlib.gzipSync(bytes, { level: 9 }).length];
});
const totalGzipped = transferred.reduce((sum, [, , gzipped]) => sum + gzipped, 0);

console.log(`| start-up, navigation to first drawn frame (${runs} runs) | median ms | fastest ms |`);
console.log("|---|---|---|");
console.log(`| minimal SDL2 + WebGL page (clear only) | ${fixed(median(floorStart))} | ${fixed(Math.min(...floorStart))} |`);
console.log(`| quorvane | ${fixed(median(gameStart))} | ${fixed(Math.min(...gameStart))} |`);
console.log();
console.log(`| frame, main thread (${frames} frames) | median ms | p90 ms |`);
console.log("|---|---|---|");
console.log(`| empty (minimal page: clear) | ${fixed(median(emptyFrames))} | ${fixed(percentile(emptyFrames, 0.9))} |`);
console.log(`| gameplay (Up and Left held) | ${fixed(median(playFrames))} | ${fixed(percentile(playFrames, 0.9))} |`);
console.log(`| plain JavaScript: a clear | ${fixed(median(replayedClear))} | ${fixed(percentile(replayedClear, 0.9))} |`);
console.log(`| plain JavaScript: the gameplay frame's WebGL calls | ${fixed(median(replayedGameplay))} | ${fixed(percentile(replayedGameplay, 0.9))} |`);
console.log();
console.log("| file | bytes | gzipped bytes |");
console.log("|---|---|---|");
for (const [name, bytes, gzipped] of transferred) console.log(`| ${name} | ${bytes} | ${gzipped} |`);
console.log(`| total | | ${totalGzipped} |`);
console.log();
console.log(`First frame: ${fixed(median(gameStart) / median(floorStart))} times the floor (target at most 1.5).`);
console.log(`Gameplay frame: ${fixed(median(playFrames) / median(emptyFrames))} times the empty frame (target at most 2).`);
console.log(`The gameplay frame's WebGL calls alone, from plain JavaScript: ${fixed(median(replayedGameplay) - median(replayedClear))} ms more than a clear.`);
console.log(`Transferred: ${(totalGzipped / 1048576).toFixed(2)} MiB gzipped (target under 2 MB).`);
console.log(`Load average: ${loadBefore.toFixed(1)} before, ${os.loadavg()[0].toFixed(1)} after.`);
