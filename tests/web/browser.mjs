// Headless Debian chromium driven through puppeteer-core, and a static server for the pages.
// Every wait has a hard limit, so a page that hangs fails its check instead of the run.
import puppeteer from "puppeteer-core";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";

const probeSource = fs.readFileSync(new URL("./page_probe.js", import.meta.url), "utf8");

export const sleep = (milliseconds) => new Promise((resolve) => setTimeout(resolve, milliseconds));

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".data": "application/octet-stream" };

// Serves the folder's files on 127.0.0.1 at a free port. The pages are cross-origin isolated, as
// a host may serve them, which also gives performance.now() its fine resolution (5 us instead
// of 100 us): the benchmark's frame times are fractions of a millisecond.
export function serveFolder(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = path.normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = path.join(root, name);
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream",
                              "Cache-Control": "no-store", "Cross-Origin-Opener-Policy": "same-origin",
                              "Cross-Origin-Embedder-Policy": "require-corp" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, "127.0.0.1", () => {
      resolve({ url: `http://127.0.0.1:${server.address().port}`, close: () => server.close() });
    });
  });
}

export async function openBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quorvane-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: false, // the flag below asks for the new headless mode itself
    userDataDir: profile,
    defaultViewport: { width: 1280, height: 720, deviceScaleFactor: 1 },
    protocolTimeout: 60000,
    timeout: 60000,
    args: ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           "--autoplay-policy=no-user-gesture-required", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--no-first-run", "--window-size=1280,720"],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A page with the probe in place before its own scripts; beforeLoad runs in the page first too.
// page.console holds every console line, page.errors the errors and uncaught exceptions.
export async function openPage(browser, url, beforeLoad) {
  const page = await browser.newPage();
  page.console = [];
  page.errors = [];
  page.on("console", (message) => {
    page.console.push(message.text());
    if (message.type() === "error") page.errors.push(message.text());
  });
  page.on("pageerror", (error) => page.errors.push(String(error.message || error)));
  await page.evaluateOnNewDocument(probeSource);
  if (beforeLoad) await page.evaluateOnNewDocument(beforeLoad);
  await page.goto(url, { waitUntil: "load", timeout: 60000 });
  return page;
}

export async function waitFor(page, condition, milliseconds, what, ...args) {
  try {
    await page.waitForFunction(condition, { timeout: milliseconds, polling: 50 }, ...args);
  } catch (error) {
    throw new Error(`waited ${milliseconds / 1000} s for ${what}: ${error.message.split("\n")[0]}`);
  }
}

// Reads the next frame the program draws and counts pixels of each kind in each rectangle:
// regions are [kind, left, top, right, bottom] in page pixels, the result maps kind to count.
export async function capture(page, regions) {
  await page.evaluate(() => { window.__probe.captureWanted = true; });
  await waitFor(page, () => !window.__probe.captureWanted, 10000, "a frame to read");
  return page.evaluate((wanted) => {
    const counts = {};
    for (const [kind, ...rectangle] of wanted) counts[kind] = window.__probe.count(kind, ...rectangle);
    return counts;
  }, regions);
}
