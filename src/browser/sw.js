// Keeps the game for playing offline. Each build has its own cache, named by
// the digest that is also in its files' addresses; a new build's worker
// fills its cache, takes over, and drops the older ones.
"use strict";
var CACHE = "vesk-@VESK_BUILD@";
var FILES = ["./", "vesk.js?v=@VESK_BUILD@", "vesk.wasm?v=@VESK_BUILD@", "vesk.data?v=@VESK_BUILD@",
             "favicon.png?v=@VESK_BUILD@", "manifest.webmanifest?v=@VESK_BUILD@"];

self.addEventListener("install", function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) {
    // The page past the HTTP cache (a stale copy there would pair with other files); the
    // others, which name their build, as the page has just loaded them.
    return cache.addAll(FILES.map(function (file) {
      return new Request(file, { cache: file === "./" ? "reload" : "default" });
    }));
  }).then(function () { return self.skipWaiting(); }));
});

self.addEventListener("activate", function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) { return name.indexOf("vesk-") === 0 && name !== CACHE; })
                            .map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

// The page from the network while there is one, so a new build is seen at
// once, else this build's copy; every other file from the cache first (its
// address names its build, so a copy is never stale).
self.addEventListener("fetch", function (event) {
  var request = event.request;
  if (request.method !== "GET") return;
  if (request.mode === "navigate") {
    event.respondWith(fetch(request).catch(function () {
      return caches.open(CACHE).then(function (cache) { return cache.match("./"); });
    }));
    return;
  }
  event.respondWith(caches.match(request).then(function (copy) { return copy || fetch(request); }));
});
