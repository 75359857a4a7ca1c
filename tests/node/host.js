// A Node.js host as a script in the field is one: koffi calls the wide and the
// fixed exports of vantrel.dll, and each answer is written as it came, one JSON
// line per call, to the answers file (UTF-8).
//   node host.js PATH\vantrel.dll ANSWERS_FILE
'use strict';
const fs = require('fs');
const koffi = require('koffi');

const [dll, answers] = process.argv.slice(2);
const library = koffi.load(dll);
// "str16" is UTF-16 text for a wide export; "str" 8-bit text for a fixed one.
const wide = (name, count) => library.func('__stdcall', name, 'str16', Array(count).fill('str16'));
const fixed = (name, count) => library.func('__stdcall', name, 'str', Array(count).fill('str'));

const greek = 'Ωμέγα', cjk = '東京', emoji = '😀';
const calls = [
  ['ShowListBoxW', () => wide('ShowListBoxW', 5)(`Liste ${greek}`, `Rot|Grün|${cjk} ${emoji}|`, '260', '180', '0')],
  ['ShowInputW', () => wide('ShowInputW', 5)(`Eingabe ${cjk}`, `${greek} `, '360', '160', '0')],
  ['ShowMultiListBoxW', () => wide('ShowMultiListBoxW', 6)(`Tabelle ${emoji}`,
      `Name;Stadt;|Smith;Berlin;|Müller;${cjk};|${greek};Αθήνα;|`, '-1', '400', '240', '0')],
  ['ShowComboBox', () => fixed('ShowComboBox', 5)('Fixed combo', 'alpha|beta|gamma|', '220', '80', '0')],
  ['ShowCal', () => fixed('ShowCal', 4)('Fixed calendar', '29/02/2024', 'EUR', '0')],
  ['ShowAboutW', () => wide('ShowAboutW', 10)(`Über ${emoji}`, `Node.js ${process.arch}`, 'koffi', '',
      `${greek} ${cjk}`, '', '', '300', '200', '0')],
];
fs.writeFileSync(answers, '');
for (const [name, call] of calls) {
  fs.appendFileSync(answers, JSON.stringify({ call: name, answer: call() }) + '\n');
}
