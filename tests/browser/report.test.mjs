// Opens an HTML report in headless Chromium and works its section toggles, "Expand All" and
// the raw-changes sub-rows the way a reader would; inventory texts crafted as markup must
// not run. Run by tests/e2e/browser_linux.sh:
//   FENNOCK_REPORT=.../inventory.html FENNOCK_SCREENSHOT=.../report.png node --test report.test.mjs
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const report = process.env.FENNOCK_REPORT;
const screenshot = process.env.FENNOCK_SCREENSHOT;
assert.ok(report && screenshot, 'FENNOCK_REPORT and FENNOCK_SCREENSHOT must be set');

const profile = mkdtempSync(join(tmpdir(), 'fennock-chromium-'));
const dialogs = [];
const errors = [];
let context;
let page;

before(async () => {
  context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    timeout: 30000,
    viewport: { width: 1280, height: 900 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  context.setDefaultTimeout(10000);
  page = context.pages()[0] ?? await context.newPage();
  page.on('dialog', (dialog) => {
    dialogs.push(dialog.message());
    dialog.dismiss().catch(() => {});
  });
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  await page.goto(pathToFileURL(report).href, { waitUntil: 'load' });
});

after(async () => {
  await context?.close();
  rmSync(profile, { recursive: true, force: true });
});

// Shown means both: the script's display value and a box on the page.
async function shown(id) {
  return page.evaluate((sectionId) => {
    const element = document.getElementById(sectionId);
    if (!element) return null;
    const box = element.getBoundingClientRect();
    return getComputedStyle(element).display !== 'none' && box.height > 0;
  }, id);
}

async function existingSections() {
  return page.evaluate(() => {
    const ids = [];
    for (let i = 1; i <= 14; i++) {
      if (document.getElementById(`section${i}`)) ids.push(`section${i}`);
    }
    return ids;
  });
}

const sectionHeading = (text) =>
  page.locator('tr.detail_page_section_heading[onclick*="hideShowDetail"]', { hasText: text });

test('at load only the summary is open', async () => {
  assert.equal(await shown('section1'), true);
  const sections = await existingSections();
  assert.deepEqual(sections.length, 14, `sections on the page: ${sections}`);
  for (const id of sections.filter((s) => s !== 'section1')) {
    assert.equal(await shown(id), false, `${id} hidden at load`);
  }
});

test('a section heading toggles its section', async () => {
  const hardware = sectionHeading(/^>\s*Hardware$/);
  assert.equal(await hardware.count(), 1);
  await hardware.click();
  assert.equal(await shown('section2'), true, 'Hardware opens');
  assert.equal(await shown('section3'), false, 'Printers stays closed');
  await hardware.click();
  assert.equal(await shown('section2'), false, 'Hardware closes again');
  await hardware.click();
  assert.equal(await shown('section2'), true);
});

test('"Expand All" opens every section, a second click closes them', async () => {
  const expandAll = page.getByRole('link', { name: 'Expand All' });
  await expandAll.click();
  for (const id of await existingSections()) {
    assert.equal(await shown(id), true, `${id} open after Expand All`);
  }
  await expandAll.click();
  for (const id of await existingSections()) {
    assert.equal(await shown(id), false, `${id} closed after the second click`);
  }
  await expandAll.click();
  assert.equal(await shown('section12'), true);
});

test('a raw-changes heading shows and hides its own rows only', async () => {
  const groups = await page.evaluate(() =>
    [...document.querySelectorAll('#section12 tr[onclick*="hideShowSubdetail"]')].map((row) => {
      const query = /hideShowSubdetail\("(raw\w+)"\)/.exec(row.getAttribute('onclick'))[1];
      let rows = 0;
      while (document.getElementById(`${query}/${rows + 1}`)) rows++;
      return { query, rows, text: row.textContent };
    }));
  assert.ok(groups.length >= 2, `raw groups: ${JSON.stringify(groups)}`);
  const [other, target] = [groups[0], groups.find((g) => g.rows >= 2) ?? groups[1]];
  assert.notEqual(other.query, target.query);
  const rowsShown = (group) => page.evaluate(({ query, rows }) => {
    const states = [];
    for (let i = 1; i <= rows; i++) {
      const row = document.getElementById(`${query}/${i}`);
      states.push(getComputedStyle(row).display !== 'none' && row.getBoundingClientRect().height > 0);
    }
    return states;
  }, group);

  assert.deepEqual(await rowsShown(target), Array(target.rows).fill(false), 'hidden before');
  await page.locator(`#section12 tr[onclick*='"${target.query}"']`).click();
  assert.deepEqual(await rowsShown(target), Array(target.rows).fill(true), `${target.text} opens`);
  assert.deepEqual(await rowsShown(other), Array(other.rows).fill(false), `${other.text} stays closed`);
  await page.locator(`#section12 tr[onclick*='"${target.query}"']`).click();
  assert.deepEqual(await rowsShown(target), Array(target.rows).fill(false), 'hidden again');
  await page.locator(`#section12 tr[onclick*='"${target.query}"']`).click();
});

test('inventory texts crafted as markup stay text', async () => {
  const visibleText = await page.evaluate(() => document.body.innerText);
  assert.match(visibleText, /<img src=x onerror="window\.__injected=1;alert\(1\)">/,
    'the crafted program name shows as text');
  assert.match(visibleText, /<script>window\.__injected=2;alert\(2\)<\/script>/,
    'the crafted service name shows as text');
  assert.equal(await page.evaluate(() => typeof window.__injected), 'undefined');
  assert.equal(await page.evaluate(() => document.scripts.length), 2, 'only the page\'s own scripts');
  assert.deepEqual(dialogs, [], 'no dialog opened');
  assert.deepEqual(errors, [], 'no script or console error');
});

test('full-page screenshot', async () => {
  await page.screenshot({ path: screenshot, fullPage: true });
});
