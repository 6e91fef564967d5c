// `node firefox.mjs WIDTH HEIGHT`: Firefox ESR for browser.py over WebDriver BiDi, headless on the X display (its WebGL),
// a page of that size. A line in is a puppeteer call as JSON, ["page.mouse.move", 10, 20]; out {"value"} or {"error"}.
import puppeteer from "puppeteer-core";
import readline from "node:readline";

const browser = await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: true });
const page = (await browser.pages())[0];
await page.setViewport({ width: Number(process.argv[2]), height: Number(process.argv[3]) });
const answer = (reply) => process.stdout.write(JSON.stringify(reply) + "\n");
answer({ value: await browser.version() });
for await (const line of readline.createInterface({ input: process.stdin })) {
  const [path, ...args] = JSON.parse(line), names = path.split(".");
  const owner = names.slice(0, -1).reduce((object, name) => object[name], { page });
  await owner[names.at(-1)](...args).then((value) => answer({ value: value ?? null }), (e) => answer({ error: String(e) }));
}
await browser.close();
