// Node.js with koffi, 64- or 32-bit. The script's folder holds the package's
// x64 and x86 folders; process.arch picks one. "str16" is UTF-16 text for the
// wide export, so every character arrives, and koffi copies the answer into a
// JavaScript string.
const path = require('path');
const koffi = require('koffi');

const folder = process.arch === 'ia32' ? 'x86' : 'x64';
const vantrel = koffi.load(path.join(__dirname, folder, 'vantrel.dll'));
const showListBox = vantrel.func('__stdcall', 'ShowListBoxW', 'str16', Array(5).fill('str16'));

const colour = showListBox('Farbe', 'Rot|Grün|Blau|', '200', '150', '0');
console.log(colour === 'CANCEL' ? 'No colour chosen' : `You chose ${colour}`);
