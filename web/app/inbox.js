// The page's copy of the account's inbox: per-channel cursors, read marks and
// dismissals, merged from sync answers exactly as the desktop merges them.
// No DOM here; app.js shows what this holds.

const statuses = new Set(["need", "running", "done", "failed", "info", "idle"]);

// A missing or unknown status reads as "info".
export function dotOf(status) {
  return statuses.has(status) ? status : "info";
}

export const filters = {
  all: () => true,
  unread: (row) => row.unread,
  needsYou: (row) => row.dot === "need",
  running: (row) => row.dot === "running",
  failed: (row) => row.dot === "failed",
};

// Cursor items are sorted as whole texts ("channel:seq"), then joined.
function cursorItem(entries) {
  return entries
    .map(([channel, seq]) => `${channel}:${seq}`)
    .sort((a, b) => (a < b ? -1 : a > b ? 1 : 0))
    .join(",");
}

function newestFirst(a, b) {
  if (a.createdAt !== b.createdAt) return b.createdAt - a.createdAt;
  return b.seq - a.seq;
}

export class Inbox {
  constructor() {
    this.channels = new Map();
    this.rowsCache = null;
  }

  // The query of the next sync: what we hold of each channel. The page
  // shows no cards, but its card cursors keep their history from coming
  // again with every sync.
  syncPath() {
    const cursors = [];
    const cardCursors = [];
    for (const [id, channel] of this.channels) {
      if (channel.latestSeq > 0) cursors.push([id, channel.latestSeq]);
      if (channel.cardCursor > 0) cardCursors.push([id, channel.cardCursor]);
    }
    const item = (name, entries) =>
      `${name}=` + encodeURIComponent(cursorItem(entries)).replace(/%3A/g, ":").replace(/%2C/g, ",");
    const items = [];
    if (cursors.length > 0) items.push(item("after", cursors));
    if (cardCursors.length > 0) items.push(item("cards_after", cardCursors));
    return items.length === 0 ? "/sync" : "/sync?" + items.join("&");
  }

  // Merges one sync answer. The answer lists every channel the account
  // follows; a channel it leaves out is gone. Returns whether anything changed.
  merge(answer) {
    let changed = false;
    const listed = new Set();
    for (const reported of answer.channels ?? []) {
      const id = String(reported.channel);
      listed.add(id);
      let channel = this.channels.get(id);
      if (!channel) {
        channel = { latestSeq: 0, cardCursor: 0, readSeq: 0, dismissed: new Set(), updates: new Map(), name: null };
        this.channels.set(id, channel);
        changed = true;
      }
      if (typeof reported.name === "string" && reported.name !== channel.name) {
        channel.name = reported.name;
        changed = true;
      }
      for (const update of reported.notifications ?? []) {
        const seq = Number(update.seq);
        if (!Number.isSafeInteger(seq) || channel.updates.has(seq)) continue;
        channel.updates.set(seq, update);
        channel.latestSeq = Math.max(channel.latestSeq, seq);
        changed = true;
      }
      const latestCard = Number(reported.latest_card_seq);
      if (Number.isSafeInteger(latestCard) && latestCard > channel.cardCursor) channel.cardCursor = latestCard;
      const readSeq = Number(reported.read_seq);
      if (Number.isSafeInteger(readSeq) && readSeq > channel.readSeq) {
        channel.readSeq = readSeq;
        changed = true;
      }
      for (const seq of reported.dismissed_seqs ?? []) {
        const n = Number(seq);
        if (Number.isSafeInteger(n) && !channel.dismissed.has(n)) {
          channel.dismissed.add(n);
          changed = true;
        }
      }
    }
    for (const id of [...this.channels.keys()]) {
      if (!listed.has(id)) {
        this.channels.delete(id);
        changed = true;
      }
    }
    if (changed) this.rowsCache = null;
    return changed;
  }

  // Every update not dismissed, newest first, as rows the list shows.
  rows() {
    if (this.rowsCache) return this.rowsCache;
    const rows = [];
    for (const [id, channel] of this.channels) {
      for (const [seq, update] of channel.updates) {
        if (channel.dismissed.has(seq)) continue;
        const sender = typeof update.sender === "string" && update.sender !== "" ? update.sender : null;
        const created = Date.parse(update.created_at);
        rows.push({
          key: `${id}\u001f${seq}`,
          channel: id,
          seq,
          title: String(update.title ?? ""),
          body: typeof update.body === "string" ? update.body : "",
          links: Array.isArray(update.links) ? update.links : [],
          agent: sender ?? id,
          dot: dotOf(update.status),
          createdAt: Number.isNaN(created) ? 0 : created,
          unread: seq > channel.readSeq,
        });
      }
    }
    rows.sort(newestFirst);
    this.rowsCache = rows;
    return rows;
  }

  markRead(channelId, seq) {
    const channel = this.channels.get(channelId);
    if (!channel || seq <= channel.readSeq) return false;
    channel.readSeq = seq;
    this.rowsCache = null;
    return true;
  }

  dismiss(channelId, seq) {
    const channel = this.channels.get(channelId);
    if (!channel || channel.dismissed.has(seq)) return false;
    channel.dismissed.add(seq);
    this.rowsCache = null;
    return true;
  }

  // The read marks that "Mark all read" sends: each channel's newest update.
  unreadMarks() {
    const marks = [];
    for (const [id, channel] of this.channels) {
      if (channel.latestSeq > channel.readSeq) marks.push([id, channel.latestSeq]);
    }
    return marks;
  }
}

// Splits text into plain pieces and http(s) links, in one pass. Anything
// else that looks like a link (javascript:, data:, …) stays plain text.
export function linkPieces(text) {
  const pieces = [];
  const pattern = /\bhttps?:\/\/[^\s<>"'`]+/gi;
  let last = 0;
  for (const match of text.matchAll(pattern)) {
    let url = match[0].replace(/[.,;:!?)\]}]+$/, "");
    if (match.index > last) pieces.push({ text: text.slice(last, match.index) });
    const href = safeHref(url);
    pieces.push(href ? { text: url, href } : { text: url });
    last = match.index + url.length;
  }
  if (last < text.length) pieces.push({ text: text.slice(last) });
  return pieces;
}

// The address to open for a link, or null unless it is http or https.
export function safeHref(url) {
  try {
    const parsed = new URL(String(url));
    return parsed.protocol === "http:" || parsed.protocol === "https:" ? parsed.href : null;
  } catch {
    return null;
  }
}
