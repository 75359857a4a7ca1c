// Node.js with koffi, 64- or 32-bit: process.arch picks the package's folder
// (x64 or x86). "str16" is UTF-16 text for the wide export, so every character
// arrives, and koffi copies the answer into a JavaScript string.
const koffi = require('koffi');

const folder = process.arch === 'ia32' ? 'x86' : 'x64';
const vantrel = koffi.load(`C:\\Vantrel\\${folder}\\vantrel.dll`);
const showListBox = vantrel.func('__stdcall', 'ShowListBoxW', 'str16', Array(5).fill('str16'));

const colour = showListBox('Colour', 'Red|Green|Blue|', '200', '150', '0');
if (colour !== 'CANCEL') console.log(`You chose ${colour}`);
