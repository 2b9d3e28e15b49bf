// The control page: asks for the access code, then shows the controls the
// panel names and keeps them in step with the device through the server's
// event stream. Every change goes to the server as the value's text.
"use strict";

const TEXTS = {
  en: {
    codeLabel: "Access code", enter: "Enter", wrongCode: "Wrong access code.",
    tooMany: "Too many wrong codes. Try again later.", master: "Master", mute: "Mute",
    programs: "Programs", inputs: "Inputs", outputs: "Outputs", locked: "Lock",
    open: "Connected", connecting: "Connecting…", lost: "Device not reachable",
    failed: "The change was not made: ", other: "中文",
  },
  zh: {
    codeLabel: "访问码", enter: "进入", wrongCode: "访问码错误。",
    tooMany: "错误次数过多，请稍后再试。", master: "总音量", mute: "静音",
    programs: "程序", inputs: "输入", outputs: "输出", locked: "锁定",
    open: "已连接", connecting: "正在连接…", lost: "无法连接设备",
    failed: "未能更改：", other: "English",
  },
};

const state = { language: localStorage.getItem("orvane.language") || "en", panel: null, values: {},
                locks: {}, link: "connecting", current: 0, programNames: {} };
const $ = (id) => document.getElementById(id);
const text = (key) => TEXTS[state.language][key];

function showLanguage() {
  document.documentElement.lang = state.language === "zh" ? "zh-CN" : "en";
  for (const node of document.querySelectorAll("[data-text]")) node.textContent = text(node.dataset.text);
  for (const node of document.querySelectorAll(".mute")) node.textContent = text("mute");
  for (const node of document.querySelectorAll(".locked")) node.dataset.locked = text("locked");
  $("language").textContent = text("other");
  showLink();
}

function showLink() {
  $("link").dataset.state = state.link;
  $("link").textContent = text(state.link);
}

async function api(method, path, body) {
  const response = await fetch(path, {
    method, credentials: "same-origin",
    headers: body === undefined ? {} : { "Content-Type": "application/json" },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const data = await response.json().catch(() => ({}));
  return { status: response.status, data };
}

// "-6.5dB" → -6.5; "OFF" → the fader's lowest value.
function figure(value, lowest) {
  const number = parseFloat(value);
  return Number.isNaN(number) ? lowest : number;
}

// A fader sends while it moves, at most one change in flight, the last one
// always sent.
function fader(input, path) {
  let sending = false, waiting = null;
  const send = async (value) => {
    if (sending) { waiting = value; return; }
    sending = true;
    const reply = await api("PUT", "/api/params/" + path, { value: value + "dB" });
    sending = false;
    if (reply.status !== 200) $("message").textContent = text("failed") + (reply.data.error || reply.status);
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
    if (reply.status !== 200) $("message").textContent = text("failed") + (reply.data.error || reply.status);
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
    fader(input, base + ".gain");
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
      if (reply.status !== 200) $("message").textContent = text("failed") + (reply.data.error || reply.status);
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
  fader($("master-level"), "master.out.level");
  muteButton($("master-mute"), "master.out.mute");
  bind("master.out.level", (v) => {
    if (document.activeElement !== $("master-level")) $("master-level").value = figure(v, -60);
    $("master-value").textContent = v ?? "";
  });
  bind("master.out.mute", (v) => showMute($("master-mute"), v));
  for (const entry of panel.inputs) buildChannel($("inputs"), "in", entry);
  for (const entry of panel.outputs) buildChannel($("outputs"), "out", entry);
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

function follow() {
  const events = new EventSource("/api/events");
  events.onmessage = (message) => {
    const data = JSON.parse(message.data);
    if (data.link) { state.link = data.link; showLink(); }
    if (data.params) { Object.assign(state.values, data.params); showValues(data.params); }
    if (data.locks) { state.locks = data.locks; showLocks(); }
    if (data.meters) showMeters(data.meters);
  };
}

async function loadPrograms() {
  const reply = await api("GET", "/api/programs");
  if (reply.status !== 200) return;
  state.current = reply.data.current ? reply.data.current.program : 0;
  for (const program of reply.data.programs) state.programNames[program.program] = program.name;
  buildPrograms();
}

async function start() {
  const panel = await api("GET", "/api/panel");
  if (panel.status === 401) {
    $("login").hidden = false;
    $("controls").hidden = true;
    $("code").focus();
    return;
  }
  $("login").hidden = true;
  $("controls").hidden = false;
  state.panel = panel.data;
  build();
  showLanguage();
  follow();
  loadPrograms();
}

$("login").addEventListener("submit", async (event) => {
  event.preventDefault();
  const reply = await api("POST", "/api/login", { code: $("code").value });
  if (reply.status === 200) { $("login-error").textContent = ""; start(); return; }
  $("login-error").textContent = text(reply.status === 429 ? "tooMany" : "wrongCode");
});

$("language").addEventListener("click", () => {
  state.language = state.language === "en" ? "zh" : "en";
  localStorage.setItem("orvane.language", state.language);
  showLanguage();
  buildPrograms();
});

showLanguage();
start();
