// Drives the control page of a running orvane-server in Debian's Chromium,
// headless, as a person in the room would: enters the access code, moves
// the master level, mutes input A, watches the meters, and checks that a
// locked function is shown locked, without its value. Takes screenshots at
// phone and desktop sizes in both languages and prints what it measured as
// one JSON line.
//
//   ORVANE_PAGE_URL=http://127.0.0.1:PORT/ ORVANE_CODE=... ORVANE_SHOTS=DIR node control-page.mjs
import { chromium } from "playwright-core";

const url = process.env.ORVANE_PAGE_URL;
const code = process.env.ORVANE_CODE;
const shots = process.env.ORVANE_SHOTS;
const failures = [];
const check = (condition, what) => { if (!condition) failures.push(what); };

const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium" });
const context = await browser.newContext({ viewport: { width: 1366, height: 768 } });
const page = await context.newPage();
page.setDefaultTimeout(15000);

// The first load also starts the browser's own machinery; the second is
// what a person opening the page meets.
await page.goto(url);
await page.reload();
const loadMs = await page.evaluate(() => performance.getEntriesByType("navigation")[0].loadEventEnd);
await page.fill("#code", "not-the-code");
await page.click("#login button[type=submit]");
await page.waitForFunction(() => document.getElementById("login-error").textContent !== "");
await page.fill("#code", code);
await page.click("#login button[type=submit]");
await page.waitForSelector("#controls:not([hidden])");
await page.waitForFunction(() => document.getElementById("link").dataset.state === "open");
await page.waitForFunction(() => document.getElementById("master-value").textContent !== "");

// The master level, moved as a finger moves it; timed from the request
// leaving the page to the server's answer, which comes once the device took it.
const [levelReply] = await Promise.all([
  page.waitForResponse((r) => r.url().endsWith("/api/params/master.out.level") && r.request().method() === "PUT"),
  page.evaluate(() => {
    const fader = document.getElementById("master-level");
    fader.value = "-20";
    fader.dispatchEvent(new Event("input"));
  }),
]);
check(levelReply.status() === 200, "the master level was refused: " + levelReply.status());
// The browser notes the request's timing once the answer is read in full,
// a moment after the answer arrives.
const levelTiming = await page.waitForFunction(() => performance.getEntriesByType("resource")
  .filter((entry) => entry.name.endsWith("/api/params/master.out.level")).pop()?.duration);
const levelMs = await levelTiming.jsonValue();

const firstMute = page.locator("#inputs .channel").first().locator(".mute");
const [muteReply] = await Promise.all([
  page.waitForResponse((r) => r.url().endsWith("/api/params/in.A.mute")),
  firstMute.click(),
]);
check(muteReply.status() === 200, "muting input A was refused: " + muteReply.status());
await page.waitForFunction(() =>
  document.querySelector("#inputs .channel .mute").getAttribute("aria-pressed") === "true");

const widths = async () => page.$$eval(".channel .bar", (bars) => bars.map((b) => b.style.width).join());
const before = await widths();
let meterMoved = false;
for (let i = 0; i < 30 && !meterMoved; ++i) {
  await page.waitForTimeout(100);
  meterMoved = (await widths()) !== before;
}
check(meterMoved, "no meter moved");

const gain = page.locator("#inputs .channel").first().locator(".fader");
check(await gain.isDisabled(), "the locked input gain can still be moved");
check((await gain.getAttribute("class")).includes("locked"), "the locked input gain is not marked");
const gainValue = page.locator("#inputs .channel").first().locator(".value");
check((await gainValue.textContent()) === "", "the locked input gain shows its value");

const shoot = async (name) => {
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: `${shots}/${name}.png` });
};
await shoot("control-page-desktop-en");
await page.click("#language");
await page.waitForFunction(() => document.documentElement.lang === "zh-CN");
await shoot("control-page-desktop-zh");
await page.setViewportSize({ width: 390, height: 844 });
await shoot("control-page-phone-zh");
await page.click("#language");
await shoot("control-page-phone-en");

await browser.close();
console.log(JSON.stringify({ loadMs: Math.round(loadMs), levelMs: Math.round(levelMs), meterMoved, failures }));
process.exit(failures.length === 0 ? 0 : 1);
