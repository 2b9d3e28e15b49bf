// Opens the control page of a running orvane-server in Debian's Chromium,
// headless, logs in with the room code and checks that the page shows
// what the panel file gives the room and nothing more: an empty list of
// outputs leaves no outputs card, the inputs card holds the panel's inputs.
// Prints "ok", or what was wrong and exits 1.
//
//   ORVANE_PAGE_URL=http://127.0.0.1:PORT/ ORVANE_CODE=... ORVANE_INPUTS=N node panel-cards.mjs
import { chromium } from "playwright-core";

const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium" });
const page = await browser.newPage();
page.setDefaultTimeout(15000);
await page.goto(process.env.ORVANE_PAGE_URL);
await page.fill("#code", process.env.ORVANE_CODE);
await page.click("#login button[type=submit]");
await page.waitForSelector("#controls:not([hidden])");
const shown = await page.evaluate(() => ({
  inputs: !document.getElementById("inputs-card").hidden,
  outputs: !document.getElementById("outputs-card").hidden,
  channels: document.querySelectorAll("#inputs .channel").length,
}));
await browser.close();
const failures = [];
if (!shown.inputs) failures.push("the inputs card is hidden");
if (shown.outputs) failures.push("the empty outputs card shows");
if (shown.channels !== Number(process.env.ORVANE_INPUTS)) failures.push(`${shown.channels} inputs show`);
console.log(failures.length === 0 ? "ok" : failures.join("; "));
process.exit(failures.length === 0 ? 0 : 1);
