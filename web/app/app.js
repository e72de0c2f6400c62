// The web inbox: pairs this browser with a code, syncs every 20 s and shows
// the account's updates. Agent text only ever goes into the page as text.

import { Inbox, filters, linkPieces, safeHref } from "/app/inbox.js";

const tokenKey = "orvel.deviceToken";
const syncInterval = 20_000;
const rowHeight = 84; // keep in step with --row-height in app.css
const overscan = 6;

const $ = (id) => document.getElementById(id);
const inbox = new Inbox();
let token = localStorage.getItem(tokenKey);
let filter = "all";
let visibleRows = [];
let syncTimer = null;
let syncing = false;
let openRow = null;

// --- Service --------------------------------------------------------------

async function call(method, path, body) {
  const headers = {};
  if (token) headers.Authorization = `Bearer ${token}`;
  if (body !== undefined) headers["Content-Type"] = "application/json";
  let response;
  try {
    response = await fetch(path, {
      method,
      headers,
      body: body === undefined ? undefined : JSON.stringify(body),
      cache: "no-store",
      credentials: "omit",
    });
  } catch {
    return { ok: false, status: 0, data: null };
  }
  let data = null;
  try {
    data = await response.json();
  } catch {
    data = null;
  }
  return { ok: response.status === 200, status: response.status, data };
}

function showMessage(text) {
  const message = $("message");
  message.textContent = text;
  message.hidden = !text;
}

function setSyncState(text) {
  $("sync-state").textContent = text;
}

// --- Pairing ----------------------------------------------------------------

function codeFromAddress() {
  const hash = location.hash.replace(/^#/, "");
  const params = new URLSearchParams(hash);
  return params.get("pair");
}

function dropCodeFromAddress() {
  history.replaceState(null, "", location.pathname + location.search);
}

async function redeem(code) {
  const trimmed = code.trim();
  if (!trimmed) return;
  showMessage("");
  setSyncState("Pairing…");
  const saved = token;
  token = null;
  const answer = await call("POST", "/pair/redeem", { code: trimmed });
  if (!answer.ok || typeof answer.data?.device_token !== "string") {
    token = saved;
    setSyncState("");
    showMessage(
      answer.status === 404 || answer.status === 410
        ? "This pairing code has expired or was already used. Make a new one on your desktop and try again."
        : answer.status === 0
          ? "Couldn't reach the Orvel service. Check your connection and try again."
          : "Couldn't pair this browser. Make a new code on your desktop and try again.",
    );
    showScreen();
    return;
  }
  token = answer.data.device_token;
  localStorage.setItem(tokenKey, token);
  showScreen();
  await sync();
}

function forget() {
  localStorage.removeItem(tokenKey);
  token = null;
  clearTimeout(syncTimer);
  inbox.channels.clear();
  inbox.rowsCache = null;
  showMessage("");
  setSyncState("");
  showScreen();
  render();
}

// --- Sync -------------------------------------------------------------------

async function sync() {
  if (!token || syncing) return;
  syncing = true;
  clearTimeout(syncTimer);
  const answer = await call("GET", inbox.syncPath());
  syncing = false;
  if (answer.ok && answer.data && Array.isArray(answer.data.channels)) {
    showMessage("");
    setSyncState(`Updated ${new Date().toLocaleTimeString([], { hour: "2-digit", minute: "2-digit" })}`);
    if (inbox.merge(answer.data)) render();
  } else if (answer.status === 401 || answer.status === 403) {
    showMessage("This browser is no longer paired. Forget it and pair again with a new code.");
  } else {
    setSyncState("Offline — retrying");
  }
  if (token) syncTimer = setTimeout(sync, syncInterval);
}

async function markAllRead() {
  const marks = inbox.unreadMarks();
  for (const [channel, seq] of marks) inbox.markRead(channel, seq);
  render();
  const results = await Promise.all(marks.map(([channel, seq]) => call("POST", "/read", { channel, seq })));
  if (results.some((r) => !r.ok)) showMessage("Couldn't mark everything read. It will try again at the next sync.");
  await sync();
}

async function dismiss(row) {
  inbox.dismiss(row.channel, row.seq);
  render();
  const answer = await call("POST", "/dismiss", { channel: row.channel, seq: row.seq });
  if (!answer.ok) showMessage("Couldn't dismiss that update. Check your connection and try again.");
}

// --- Rendering ----------------------------------------------------------------

const relative = new Intl.RelativeTimeFormat(undefined, { numeric: "auto", style: "short" });

function ago(time) {
  if (!time) return "";
  const seconds = Math.round((time - Date.now()) / 1000);
  const units = [
    ["day", 86400],
    ["hour", 3600],
    ["minute", 60],
  ];
  for (const [unit, size] of units) {
    if (Math.abs(seconds) >= size) return relative.format(Math.trunc(seconds / size), unit);
  }
  return "now";
}

const statusTitles = {
  need: "Needs you",
  running: "Running",
  done: "Done",
  failed: "Failed",
  info: "Info",
  idle: "Idle",
};

// Text with its http(s) links made clickable; everything else as text nodes.
function appendLinkedText(parent, text) {
  for (const piece of linkPieces(text)) {
    if (piece.href) {
      const a = document.createElement("a");
      a.href = piece.href;
      a.rel = "noopener noreferrer";
      a.target = "_blank";
      a.textContent = piece.text;
      parent.append(a);
    } else {
      parent.append(document.createTextNode(piece.text));
    }
  }
}

function snippet(text) {
  return text.length > 240 ? text.slice(0, 240) + "…" : text;
}

function makeRow() {
  const row = document.createElement("div");
  row.className = "row";
  row.setAttribute("role", "listitem");
  row.tabIndex = 0;
  row.innerHTML =
    '<span class="dot"></span><div class="row-main"><div class="row-head">' +
    '<span class="agent"></span><span class="time"></span></div>' +
    '<div class="title"></div><div class="snippet"></div></div>' +
    '<button type="button" class="dismiss" aria-label="Dismiss">×</button>';
  row.addEventListener("click", (event) => {
    if (event.target.closest(".dismiss")) {
      event.stopPropagation();
      if (row.orvelRow) dismiss(row.orvelRow);
      return;
    }
    if (row.orvelRow) openDetail(row.orvelRow);
  });
  row.addEventListener("keydown", (event) => {
    if (event.key === "Enter" && row.orvelRow) openDetail(row.orvelRow);
  });
  return row;
}

function fillRow(element, row, index) {
  element.orvelRow = row;
  element.dataset.key = row.key;
  element.dataset.status = row.dot;
  element.classList.toggle("unread", row.unread);
  element.style.transform = `translateY(${index * rowHeight}px)`;
  element.querySelector(".dot").title = statusTitles[row.dot];
  element.querySelector(".agent").textContent = row.agent;
  element.querySelector(".time").textContent = ago(row.createdAt);
  element.querySelector(".title").textContent = row.title;
  element.querySelector(".snippet").textContent = snippet(row.body);
  element.setAttribute("aria-label", `${statusTitles[row.dot]}, ${row.agent}: ${row.title}`);
}

// Only the rows in view (and a few either side) exist in the page.
function renderRows() {
  const list = $("list");
  const space = $("list-space");
  space.style.height = `${visibleRows.length * rowHeight}px`;
  const first = Math.max(0, Math.floor(list.scrollTop / rowHeight) - overscan);
  const count = Math.ceil(list.clientHeight / rowHeight) + 2 * overscan;
  const last = Math.min(visibleRows.length, first + count);
  const pool = [...space.children];
  while (pool.length < last - first) {
    const row = makeRow();
    space.append(row);
    pool.push(row);
  }
  pool.slice(last - first).forEach((row) => row.remove());
  for (let i = first; i < last; i++) fillRow(pool[i - first], visibleRows[i], i);
}

const emptyTexts = {
  all: "No updates yet. They show here as your agents post them.",
  unread: "Nothing unread.",
  needsYou: "Nothing needs you.",
  running: "Nothing running.",
  failed: "Nothing failed.",
};

function render() {
  visibleRows = inbox.rows().filter(filters[filter]);
  const empty = $("empty");
  empty.hidden = visibleRows.length > 0;
  empty.textContent = emptyTexts[filter];
  $("mark-all-read").disabled = inbox.unreadMarks().length === 0;
  renderRows();
  if (openRow && !inbox.rows().some((row) => row.key === openRow.key)) $("detail").close();
}

function showScreen() {
  const paired = Boolean(token);
  $("welcome").hidden = paired;
  $("inbox").hidden = !paired;
  $("mark-all-read").hidden = !paired;
  $("forget").hidden = !paired;
}

function openDetail(row) {
  openRow = row;
  const badge = $("detail-status");
  badge.textContent = statusTitles[row.dot];
  badge.dataset.status = row.dot;
  $("detail-meta").textContent = `${row.agent} · ${ago(row.createdAt)}`;
  $("detail-title").textContent = row.title;
  const body = $("detail-body");
  body.replaceChildren();
  appendLinkedText(body, row.body);
  const links = $("detail-links");
  links.replaceChildren();
  for (const link of row.links) {
    const href = safeHref(link?.url);
    const item = document.createElement("li");
    if (href) {
      const a = document.createElement("a");
      a.href = href;
      a.rel = "noopener noreferrer";
      a.target = "_blank";
      a.textContent = String(link.label ?? href);
      item.append(a);
    } else {
      item.textContent = String(link?.label ?? "");
    }
    links.append(item);
  }
  $("detail").showModal();
  if (row.unread) {
    // Opening an update reads its channel up to it, as the desktop does.
    inbox.markRead(row.channel, row.seq);
    render();
    call("POST", "/read", { channel: row.channel, seq: row.seq });
  }
}

// --- Wiring -------------------------------------------------------------------

function setFilter(name) {
  filter = name;
  for (const button of document.querySelectorAll("[data-filter]")) {
    button.setAttribute("aria-pressed", String(button.dataset.filter === name));
  }
  $("list").scrollTop = 0;
  render();
}

function start() {
  for (const button of document.querySelectorAll("[data-filter]")) {
    button.addEventListener("click", () => setFilter(button.dataset.filter));
  }
  let pending = false;
  $("list").addEventListener("scroll", () => {
    if (pending) return;
    pending = true;
    requestAnimationFrame(() => {
      pending = false;
      renderRows();
    });
  });
  window.addEventListener("resize", () => renderRows());
  $("mark-all-read").addEventListener("click", markAllRead);
  $("forget").addEventListener("click", forget);
  $("detail-close").addEventListener("click", () => $("detail").close());
  $("detail").addEventListener("close", () => (openRow = null));
  $("detail-dismiss").addEventListener("click", () => {
    if (openRow) dismiss(openRow);
    $("detail").close();
  });
  $("pair-form").addEventListener("submit", (event) => {
    event.preventDefault();
    redeem($("pair-code").value);
  });
  document.addEventListener("visibilitychange", () => {
    if (document.visibilityState === "visible") sync();
  });
  setInterval(() => renderRows(), 60_000); // relative times

  const code = codeFromAddress();
  if (code !== null) {
    dropCodeFromAddress();
    showScreen();
    redeem(code);
    return;
  }
  showScreen();
  sync();
}

start();
