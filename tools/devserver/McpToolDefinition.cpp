#include "tools/devserver/McpToolDefinition.h"

namespace OrvelDev {

namespace {

constexpr std::string_view definition = R"json({
"name":"orvel_send",
"title":"Send to Orvel",
"description":"Post one update to the user's Orvel inbox, or one update of a persistent card. Send when something the user cares about happened: you need a decision or input (status need), finished (done), failed (failed), or started long work (running). Do not send chatter. Returns the stored update's id and sequence number.",
"inputSchema":{
 "type":"object",
 "properties":{
  "channel_key":{"type":"string","description":"The channel's publish key from your instructions. Use it only here; never repeat, print or log it."},
  "title":{"type":"string","description":"The headline: one short line. Required unless card is given."},
  "body":{"type":"string","description":"The main text, Markdown."},
  "details":{"type":"string","description":"Secondary text."},
  "status":{"type":"string","enum":["need","running","done","failed","info","idle"],"description":"need: waiting for the user; running: working; done: finished; failed: broke; info: for the record; idle: nothing to do."},
  "urgency":{"type":"string","enum":["low","normal","high","critical"],"default":"normal"},
  "sender":{"type":"string","description":"Your name as the user sees it; defaults to the name the channel was made for."},
  "deliver_when":{"type":"string","description":"When to surface: immediately (default), morning (the next 08:00), next_day (08:00 tomorrow) or an ISO 8601 timestamp."},
  "fields":{"type":"array","description":"Labelled values.","items":{"type":"object","properties":{"label":{"type":"string"},"value":{"type":"string"}},"required":["label","value"]}},
  "links":{"type":"array","description":"Labelled http(s) links.","items":{"type":"object","properties":{"label":{"type":"string"},"url":{"type":"string"}},"required":["label","url"]}},
  "color":{"type":"string","description":"An accent colour as hexadecimal, e.g. #3478F6."},
  "kind":{"type":"string","enum":["message","card"],"default":"message"},
  "card":{"type":"object","description":"A persistent-card update instead of an update: a live view you keep current. Give only channel_key with it.",
   "properties":{
    "card_key":{"type":"string","description":"The card's name in the channel; updates with one key build one card."},
    "update_id":{"type":"string","description":"Your own identifier of this update; a retract names it."},
    "definition":{"type":"object","properties":{
     "title":{"type":"string"},
     "renderer":{"type":"string","description":"metric features the primary field; any other name shows labelled values."},
     "renderer_version":{"type":"integer","minimum":0,"default":1},
     "fields":{"type":"array","items":{"type":"object","properties":{"id":{"type":"string"},"kind":{"type":"string","description":"e.g. number, money, text"},"label":{"type":"string"},"role":{"type":"string","description":"primary marks the featured field"}},"required":["id","kind","label"]}}},
     "required":["fields","renderer","title"]},
    "operation":{"type":"object","properties":{
     "kind":{"type":"string","enum":["snapshot","patch","delta","retract"]},
     "values":{"type":"array","description":"snapshot: every value; patch: the values that change.","items":{"type":"object","properties":{"field_id":{"type":"string"},"kind":{"type":"string"},"value":{"type":"string"},"display":{"type":"string"},"unit":{"type":"string"},"currency":{"type":"string"},"tone":{"type":"string"}},"required":["display","field_id","kind","value"]}},
     "deltas":{"type":"array","description":"delta: amounts to add to number or money values, as decimal text.","items":{"type":"object","properties":{"field_id":{"type":"string"},"value":{"type":"string"}},"required":["field_id","value"]}},
     "retract_update_id":{"type":"string","description":"retract: the update_id to withdraw."}},
     "required":["kind"]}},
   "required":["card_key","definition","operation","update_id"]}},
 "required":["channel_key"],
 "anyOf":[{"required":["title"]},{"required":["card"]}],
 "additionalProperties":false},
"outputSchema":{
 "type":"object",
 "properties":{
  "id":{"type":"string"},
  "channel":{"type":"string"},
  "created_at":{"type":"string"},
  "seq":{"type":"integer","description":"The update's sequence number in its channel."},
  "card_seq":{"type":"integer","description":"The card update's sequence number in its channel."}},
 "required":["id","channel","created_at"]}
})json";

} // namespace

const std::string_view sendToolDefinition = definition;

} // namespace OrvelDev
