// Drives the control page of a running orvane-server in Debian's Chromium,
// headless, as a person in the room would: enters the access code, sees a
// recall made elsewhere, moves the master level, mutes input A, watches the
// meters, and checks that a locked function is shown locked, without its
// value. Then the server goes away (whoever runs this stops it on the line
// "stop-server" and says so on standard input) and comes back with another
// code (on "start-server"): the page must show the lost connection and the
// changes it could not send, ask for the code again, and work with the new
// one. Takes screenshots and prints what it measured as one JSON line.
//
//   ORVANE_PAGE_URL=http://127.0.0.1:PORT/ ORVANE_CODE=... ORVANE_NEW_CODE=... ORVANE_SHOTS=DIR \
//     node control-page.mjs
import { createInterface } from "node:readline";
import { chromium } from "playwright-core";

const url = process.env.ORVANE_PAGE_URL;
const code = process.env.ORVANE_CODE;
const newCode = process.env.ORVANE_NEW_CODE;
const shots = process.env.ORVANE_SHOTS;
const failures = [];
const check = (condition, what) => { if (!condition) failures.push(what); };
const linkIs = (state) => page.waitForFunction((s) => document.getElementById("link").dataset.state === s, state);
const logIn = async (withCode) => {
  await page.fill("#code", withCode);
  await page.click("#login button[type=submit]");
  await page.waitForSelector("#controls:not([hidden])");
  await linkIs("open");
};
// The master level, moved as a finger moves it; the answer comes once the
// device took it.
const setMaster = (value) => page.evaluate((v) => {
  const fader = document.getElementById("master-level");
  fader.value = v;
  fader.dispatchEvent(new Event("input"));
}, value);
const moveMaster = async (value) => (await Promise.all([
  page.waitForResponse((r) => r.url().endsWith("/api/params/master.out.level") && r.request().method() === "PUT"),
  setMaster(value),
]))[0];

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
await logIn(code);
await page.waitForFunction(() => document.getElementById("master-value").textContent !== "");

// A recall made elsewhere, by a room-control system, shows at once with
// the program's name.
const recall = await fetch(new URL("api/programs/2/recall", url), {
  method: "POST", headers: { "X-Orvane-Code": code },
});
check(recall.status === 200, "the recall elsewhere was refused: " + recall.status);
await page.waitForFunction(() =>
  document.querySelector("[data-program='2']")?.getAttribute("aria-current") === "true");
check((await page.textContent("[data-program='2']")).includes("Lecture"), "program 2 shows no name");

// Timed from the request leaving the page to the server's answer.
const levelReply = await moveMaster("-20");
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

// The server goes away while the page is open: what cannot be sent is
// noted on its control, and the fader goes back to the device's value.
const secondMute = page.locator("#inputs .channel").nth(1).locator(".mute");
console.log("stop-server");
await createInterface({ input: process.stdin })[Symbol.asyncIterator]().next();
await linkIs("offline");
await setMaster("-10");
await page.waitForFunction(() => document.getElementById("master-value").classList.contains("failed"));
check(await page.inputValue("#master-level") === "-20", "the master level stays where the device did not go");
await secondMute.click();
await page.waitForFunction(() => document.querySelectorAll("#inputs .mute")[1].classList.contains("failed"));
check((await page.textContent("#message")).startsWith("Not sent"), "no message says the change was not sent");
await shoot("control-page-offline-phone-en");
await page.setViewportSize({ width: 1366, height: 768 });
await shoot("control-page-offline-desktop-en");

// It comes back with another code: the old one no longer lets the page in.
// With the new one the fader that failed sends again, and the stream
// follows a change.
console.log("start-server");
await page.waitForSelector("#login:not([hidden])", { timeout: 45000 });
check((await page.textContent("#login-error")) !== "", "the login form does not say why it is back");
await shoot("control-page-login-again-desktop-en");
await logIn(newCode);
check((await moveMaster("-15")).status() === 200, "the master level was refused after the new login");
await secondMute.click();
await page.waitForFunction(() =>
  document.querySelectorAll("#inputs .mute")[1].getAttribute("aria-pressed") === "true");

await browser.close();
console.log(JSON.stringify({ loadMs: Math.round(loadMs), levelMs: Math.round(levelMs), meterMoved, failures }));
process.exit(failures.length === 0 ? 0 : 1);
