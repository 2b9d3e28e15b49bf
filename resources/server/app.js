// The control page: asks for the access code, then shows the controls the
// panel names and keeps them in step with the device through the server's
// event stream. Every change goes to the server as the value's text.
//
// On a bad network the page says what happened and keeps trying: a change
// that did not arrive is noted on its control, a lost stream is shown in
// the header and opened again after a wait that grows, and a 401 from any
// request (the session ended, or the server came back with another code)
// brings the login form back.
"use strict";

// How long a request may take before it counts as lost.
const kRequestLimitMs = 8000;
// How long a note on a failed control stays.
const kNoteMs = 6000;
// The waits before the stream is opened again: doubling from the first to
// the longest, back to the first once events come.
const kFirstRetryMs = 1000;
const kLongestRetryMs = 30000;

const TEXTS = {
  en: {
    codeLabel: "Access code", enter: "Enter", wrongCode: "Wrong access code.",
    tooMany: "Too many wrong codes. Try again in {wait} s.", master: "Master", mute: "Mute",
    programs: "Programs", inputs: "Inputs", outputs: "Outputs", locked: "Lock",
    open: "Connected", connecting: "Connecting…", lost: "Device not reachable",
    offline: "Connection lost", failed: "Not sent: ", notSent: "Not sent", noAnswer: "no answer from the server",
    again: "Please enter the access code again.", other: "中文",
  },
  zh: {
    codeLabel: "访问码", enter: "进入", wrongCode: "访问码错误。",
    tooMany: "错误次数过多，请 {wait} 秒后再试。", master: "总音量", mute: "静音",
    programs: "程序", inputs: "输入", outputs: "输出", locked: "锁定",
    open: "已连接", connecting: "正在连接…", lost: "无法连接设备",
    offline: "连接中断", failed: "未发送：", notSent: "未发送", noAnswer: "服务器无响应",
    again: "请重新输入访问码。", other: "English",
  },
};

const state = { language: localStorage.getItem("orvane.language") === "zh" ? "zh" : "en", panel: null,
                values: {}, locks: {}, link: "connecting", current: 0, programNames: {}, messageTimer: 0 };
const $ = (id) => document.getElementById(id);
const text = (key) => TEXTS[state.language][key];

function showLanguage() {
  document.documentElement.lang = state.language === "zh" ? "zh-CN" : "en";
  for (const node of document.querySelectorAll("[data-text]")) node.textContent = text(node.dataset.text);
  for (const node of document.querySelectorAll(".mute")) node.textContent = text("mute");
  for (const node of document.querySelectorAll(".locked")) node.dataset.locked = text("locked");
  $("language").textContent = text("other");
  for (const node of document.querySelectorAll(".failed")) node.dataset.failed = text("notSent");
  showLink();
}

function showLink() {
  $("link").dataset.state = state.link;
  $("link").textContent = text(state.link);
}

// A request's status, JSON and Retry-After (the seconds to wait after
// wrong codes); status 0 when no answer came in time. A 401 anywhere but
// at the login means this page is no longer let in.
async function api(method, path, body) {
  let response;
  try {
    response = await fetch(path, {
      method, credentials: "same-origin", signal: AbortSignal.timeout(kRequestLimitMs),
      headers: body === undefined ? {} : { "Content-Type": "application/json" },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
  } catch {
    return { status: 0, data: {} };
  }
  const data = await response.json().catch(() => ({}));
  if (response.status === 401 && path !== "/api/login") showLogin();
  return { status: response.status, data, wait: response.headers.get("Retry-After") };
}

// A short message at the foot of the window for a few seconds.
function say(message) {
  $("message").textContent = message;
  clearTimeout(state.messageTimer);
  state.messageTimer = setTimeout(() => { $("message").textContent = ""; }, kNoteMs);
}

// A change that did not reach the device: "Not sent" beside its control
// for a few seconds, the reason in the message. After a 401 the login form
// says enough.
function noteFailure(node, reply) {
  if (reply.status === 401) return;
  say(text("failed") + (reply.status === 0 ? text("noAnswer") : reply.data.error || reply.status));
  node.classList.add("failed");
  node.dataset.failed = text("notSent");
  clearTimeout(node.noteTimer);
  node.noteTimer = setTimeout(() => clearFailure(node), kNoteMs);
}

function clearFailure(node) {
  clearTimeout(node.noteTimer);
  node.classList.remove("failed");
}

// "-6.5dB" → -6.5; "OFF" → the fader's lowest value.
function figure(value, lowest) {
  const number = parseFloat(value);
  return Number.isNaN(number) ? lowest : number;
}

// A fader sends while it moves, at most one change in flight, the last one
// always sent. One that failed is noted on `shown`, the value beside it,
// and goes back to the device's value unless another is waiting.
function fader(input, path, shown) {
  let sending = false, waiting = null;
  const send = async (value) => {
    if (sending) { waiting = value; return; }
    sending = true;
    let reply;
    try {
      reply = await api("PUT", "/api/params/" + path, { value: value + "dB" });
    } finally {
      sending = false;
    }
    if (reply.status === 200) clearFailure(shown);
    else noteFailure(shown, reply);
    if (reply.status === 401) waiting = null;  // more would count as wrong codes
    if (reply.status !== 200 && waiting === null) input.value = figure(state.values[path], Number(input.min));
    if (waiting !== null) { const next = waiting; waiting = null; send(next); }
  };
  input.addEventListener("input", () => send(input.value));
}

// Pressed while the channel is muted; a locked mute shows neither state.
function showMute(button, value) {
  if (value === null) button.removeAttribute("aria-pressed");
  else button.setAttribute("aria-pressed", value === "on");
}

function muteButton(button, path) {
  button.addEventListener("click", async () => {
    const on = button.getAttribute("aria-pressed") !== "true";
    const reply = await api("PUT", "/api/params/" + path, { value: on ? "on" : "off" });
    if (reply.status === 200) clearFailure(button);
    else noteFailure(button, reply);
  });
}

// Every control that shows a path, with how it shows it.
const views = [];

function bind(path, show) {
  views.push({ path, show });
}

function lockKey(path) {
  if (path.startsWith("master.")) return path;
  const [side, , what] = path.split(".");
  return side === "in" ? "in.A." + what : "out.1." + what;
}

// A locked control cannot be used and says so; a fader says it in the
// value beside it.
function setLocked(node, key) {
  const locked = !!state.locks[key];
  node.disabled = locked;
  const marked = node.classList.contains("fader") ? node.nextElementSibling : node;
  for (const target of new Set([node, marked])) {
    target.classList.toggle("locked", locked);
    target.dataset.locked = text("locked");
  }
}

function buildChannel(list, side, entry) {
  const node = $("channel").content.firstElementChild.cloneNode(true);
  const base = side + "." + entry.channel;
  const name = node.querySelector(".name");
  bind(base + ".name", (value) => { name.textContent = entry.label || value || entry.channel; });
  const meter = node.querySelector(".bar");
  node.dataset.meter = side === "in" ? "inputs:" + (entry.channel.charCodeAt(0) - 65) : "outputs:" + (entry.channel - 1);
  node.meter = meter;
  const input = node.querySelector(".fader"), value = node.querySelector(".value");
  const mute = node.querySelector(".mute");
  if (entry.controls.includes("gain")) {
    input.setAttribute("aria-label", base + " gain");
    fader(input, base + ".gain", value);
    bind(base + ".gain", (v) => { if (document.activeElement !== input) input.value = figure(v, -30); value.textContent = v ?? ""; });
  } else {
    input.hidden = true; value.hidden = true;
  }
  if (entry.controls.includes("mute")) {
    mute.setAttribute("aria-label", base + " mute");
    muteButton(mute, base + ".mute");
    bind(base + ".mute", (v) => showMute(mute, v));
  } else {
    mute.hidden = true;
  }
  node.lockTargets = [[input, base + ".gain"], [mute, base + ".mute"], [name, base + ".name"]];
  list.appendChild(node);
}

function buildPrograms() {
  if (!state.panel) return;
  const list = $("program-list");
  list.textContent = "";
  for (const number of state.panel.programs) {
    const button = document.createElement("button");
    button.type = "button";
    button.dataset.program = number;
    button.textContent = number + "  " + (state.programNames[number] || "");
    button.setAttribute("aria-current", number === state.current);
    button.addEventListener("click", async () => {
      const reply = await api("POST", "/api/programs/" + number + "/recall");
      if (reply.status !== 200) noteFailure(button, reply);
      else { state.current = number; buildPrograms(); }
    });
    setLocked(button, "recall");
    list.appendChild(button);
  }
  $("programs").hidden = state.panel.programs.length === 0;
}

function build() {
  const panel = state.panel;
  if (panel.title) { $("title").textContent = panel.title; document.title = panel.title; }
  $("master").hidden = !panel.master.level && !panel.master.mute;
  $("master-level").hidden = !panel.master.level;
  $("master-value").hidden = !panel.master.level;
  $("master-mute").hidden = !panel.master.mute;
  fader($("master-level"), "master.out.level", $("master-value"));
  muteButton($("master-mute"), "master.out.mute");
  bind("master.out.level", (v) => {
    if (document.activeElement !== $("master-level")) $("master-level").value = figure(v, -60);
    $("master-value").textContent = v ?? "";
  });
  bind("master.out.mute", (v) => showMute($("master-mute"), v));
  for (const entry of panel.inputs) buildChannel($("inputs"), "in", entry);
  for (const entry of panel.outputs) buildChannel($("outputs"), "out", entry);
  // A side the panel gives no channel shows no empty card.
  $("inputs-card").hidden = panel.inputs.length === 0;
  $("outputs-card").hidden = panel.outputs.length === 0;
  buildPrograms();
}

// A parameter whose function is locked comes as {locked: true} without its
// value; its control is shown with no value (null).
function showValues(changed) {
  for (const view of views) {
    if (!(view.path in changed)) continue;
    const value = changed[view.path];
    view.show(typeof value === "string" ? value : null);
  }
}

function showLocks() {
  setLocked($("master-level"), "master.out.level");
  setLocked($("master-mute"), "master.out.mute");
  for (const node of document.querySelectorAll(".channel"))
    for (const [target, path] of node.lockTargets) setLocked(target, lockKey(path));
  for (const button of document.querySelectorAll("[data-program]")) setLocked(button, "recall");
}

function showMeters(meters) {
  for (const node of document.querySelectorAll(".channel")) {
    const [side, index] = node.dataset.meter.split(":");
    const level = meters[side][Number(index)].level;
    node.meter.style.width = (level * 100 / 8) + "%";
  }
}

// One event of the stream: only what changed, or everything when the page
// (re)joins or fell behind.
function showEvent(data) {
  if (data.link) { state.link = data.link; showLink(); }
  if (data.params) { Object.assign(state.values, data.params); showValues(data.params); }
  if (data.locks) { state.locks = data.locks; showLocks(); }
  if (data.meters) showMeters(data.meters);
  if (data.programs) for (const program of data.programs) state.programNames[program.program] = program.name;
  if ("program" in data) state.current = data.program;
  if (data.programs || "program" in data) buildPrograms();
}

const stream = { source: null, retryMs: kFirstRetryMs, timer: 0, heard: 0 };

// The server sends at least an "alive" event every few seconds; a stream
// silent for much longer went away without closing (a Wi-Fi that dropped)
// and is treated as lost.
const kSilentMs = 15000;
setInterval(() => {
  if (stream.source && Date.now() - stream.heard > kSilentMs) {
    stopFollowing();
    connectionLost(resume);
  }
}, 1000);

function stopFollowing() {
  if (stream.source) stream.source.close();
  stream.source = null;
  clearTimeout(stream.timer);
}

// The browser would open a broken stream again by itself, but never after
// a refusal such as 503, and without a growing wait: the page does it.
function follow() {
  stopFollowing();
  const source = new EventSource("/api/events");
  stream.source = source;
  stream.heard = Date.now();
  source.addEventListener("alive", () => { stream.heard = Date.now(); });
  source.onmessage = (message) => {
    stream.heard = Date.now();
    stream.retryMs = kFirstRetryMs;
    showEvent(JSON.parse(message.data));
  };
  source.onerror = () => {
    stopFollowing();
    connectionLost(resume);
  };
}

// Shown at once, with the meters at rest rather than frozen; `again` runs
// after the wait, which doubles each time.
function connectionLost(again) {
  state.link = "offline";
  showLink();
  for (const node of document.querySelectorAll(".channel")) node.meter.style.width = "0";
  clearTimeout(stream.timer);
  stream.timer = setTimeout(again, stream.retryMs);
  stream.retryMs = Math.min(stream.retryMs * 2, kLongestRetryMs);
}

// A stream cannot tell a 401 from a lost server, so a plain request asks
// first: a 401 has brought the login form back, no answer waits longer.
async function resume() {
  const reply = await api("GET", "/api/status");
  if (reply.status === 401) return;
  if (reply.status === 0) connectionLost(resume);
  else follow();
}

function showLogin() {
  stopFollowing();
  if ($("login").hidden && !$("controls").hidden) {
    $("login-error").textContent = text("again");
    $("code").value = "";
  }
  $("controls").hidden = true;
  $("link").hidden = true;
  $("login").hidden = false;
  $("code").focus();
}

function showControls() {
  $("login").hidden = true;
  $("controls").hidden = false;
  $("link").hidden = false;
  $("login-error").textContent = "";
}

// A server that came back with another panel file gets a fresh page.
async function start() {
  const reply = await api("GET", "/api/panel");
  if (reply.status === 401) return;
  if (reply.status !== 200) { connectionLost(start); return; }
  if (state.panel && JSON.stringify(reply.data) !== JSON.stringify(state.panel)) { location.reload(); return; }
  showControls();
  if (!state.panel) {
    state.panel = reply.data;
    build();
    showLanguage();
  }
  follow();
}

$("login").addEventListener("submit", async (event) => {
  event.preventDefault();
  const reply = await api("POST", "/api/login", { code: $("code").value });
  if (reply.status === 200) { start(); return; }
  if (reply.status === 429) $("login-error").textContent = text("tooMany").replace("{wait}", reply.wait);
  else $("login-error").textContent = text(reply.status === 0 ? "offline" : "wrongCode");
});

$("language").addEventListener("click", () => {
  state.language = state.language === "en" ? "zh" : "en";
  localStorage.setItem("orvane.language", state.language);
  showLanguage();
  buildPrograms();
});

showLanguage();
start();
