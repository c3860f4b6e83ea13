// The web build in headless Chromium: the game from its logo to play and back out, its sound,
// a report in the page, and each example's page. Usage:
//   node web_tests.mjs <folder of the built pages>
// Prints a PASS or FAIL line per check and ends with "N passed, N failed".
import { openBrowser, serveFolder, openPage, waitFor, capture, sleep } from "./browser.mjs";
import fs from "node:fs";

const folder = process.argv[2];
if (!folder || !fs.existsSync(`${folder}/quorvane.html`)) {
  console.error(`usage: node web_tests.mjs <folder holding quorvane.html> (got ${folder})`);
  process.exit(2);
}

let passed = 0;
let failed = 0;
async function check(name, body) {
  try {
    await body();
    passed++;
    console.log(`PASS  ${name}`);
  } catch (error) {
    failed++;
    console.log(`FAIL  ${name}: ${error.message}`);
  }
}
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// The middle of a 1280 x 720 page, where the logo, the splash and the title are drawn.
const middle = [440, 160, 840, 560];
const isLogo = async (page) => (await capture(page, [["teal", ...middle]])).teal > 500;
async function isTitle(page) {
  const counts = await capture(page, [["white", 400, 300, 880, 420], ["orange", ...middle], ["teal", ...middle]]);
  return counts.white > 1500 && counts.orange === 0 && counts.teal === 0;
}
async function isPlay(page) {
  const counts = await capture(page, [["green", 0, 360, 1280, 720], ["red", 600, 320, 680, 400]]);
  return counts.green > 500 && counts.red > 200;
}
async function waitForTitle(page) {
  const deadline = Date.now() + 60000;
  while (!(await isTitle(page))) {
    expect(Date.now() < deadline, "the title did not appear within 60 s");
    await sleep(200);
  }
}
const hasEnded = () => document.getElementById("status").textContent === "The program has ended.";
const noErrors = (page) =>
  expect(page.errors.length === 0, `the console has errors: ${page.errors.slice(0, 3).join(" | ")}`);

const server = await serveFolder(folder);
const browser = await openBrowser();
try {
  await check("the game's page draws the framework's logo first, with its sound once a key is pressed", async () => {
    const page = await openPage(browser, `${server.url}/quorvane.html`);
    try {
      await waitFor(page, () => window.__probe.firstDrawnFrameAt !== null, 60000, "a first drawn frame");
      expect(await isLogo(page), "the first frames show no logo");
      // Any key unlocks a browser's audio; Shift is none of the game's keys.
      await page.keyboard.press("Shift");
      await waitFor(page, () => window.__probe.loudest > 0.01, 10000, "sound from the logo");
      expect(page.console.some((line) => /WebGL [12]/.test(line) && /embedded shaders/.test(line)),
             "no start-up line names the WebGL version and the set-up");

      await waitForTitle(page);
      await page.keyboard.press("Space");
      const playDeadline = Date.now() + 30000;
      while (!(await isPlay(page))) {
        expect(Date.now() < playDeadline, "Space on the title did not reach play (grid and car) within 30 s");
        await sleep(200);
      }
      noErrors(page);
    } finally {
      await page.close();
    }
  });

  await check("Escape on the title ends the game's loop cleanly", async () => {
    const page = await openPage(browser, `${server.url}/quorvane.html`);
    try {
      await waitForTitle(page);
      await page.keyboard.press("Escape");
      await waitFor(page, hasEnded, 20000, "the page to say the program has ended");
      const frames = await page.evaluate(() => window.__probe.framesRequested);
      await sleep(300);
      expect(frames === (await page.evaluate(() => window.__probe.framesRequested)), "frames go on after the end");
      expect(!(await page.evaluate(() => document.getElementById("report").offsetParent)), "a report is shown");
      noErrors(page);
    } finally {
      await page.close();
    }
  });

  await check("a data file missing from the page's files is reported in the page", async () => {
    const page = await openPage(browser, `${server.url}/quorvane.html`, () => {
      window.Module = { onRuntimeInitialized: () => FS.unlink("/data/mesh/car.msh") };
    });
    try {
      // The car's mesh is read when play opens, as on the desktop.
      await waitForTitle(page);
      await page.keyboard.press("Space");
      await waitFor(page, () => /car\.msh/.test(document.getElementById("report").textContent), 30000,
                    "a report naming car.msh in the page");
      expect(page.errors.some((line) => /car\.msh/.test(line)), "the report is not in the console");
      await waitFor(page, hasEnded, 20000, "the program to end after its report");
    } finally {
      await page.close();
    }
  });

  const examples = fs.readdirSync(folder).filter((name) => /^(example_.*|my_game)\.html$/.test(name)).sort();
  for (const example of examples) {
    await check(`${example} renders its subject`, async () => {
      const page = await openPage(browser, `${server.url}/${example}`);
      try {
        await waitFor(page, () => window.__probe.framesRequested > 30, 60000, "30 frames");
        const counts = await capture(page, [["nonBlack", 0, 0, 1280, 720]]);
        expect(counts.nonBlack > 3000, `only ${counts.nonBlack} pixels are not black`);
        noErrors(page);
      } finally {
        await page.close();
      }
    });
  }
} finally {
  await browser.close();
  server.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
